# shellcheck shell=bash
# Where the widgets of the setup's windows lie on the screen, as the native
# setup-layout tool prints them ("NAME X Y WIDTH HEIGHT" from a window's
# client area). Scripts click by a widget's name, never by pixel numbers.
# The skinned windows' client areas start this far inside their frames.
layout_frame=2

# layout_point TOOL ORIGIN_X ORIGIN_Y NAME ARGS...: the middle of widget NAME
# as "X Y" on the screen, for a client area at ORIGIN, from TOOL ARGS.
layout_point() {
  local tool=$1 origin_x=$2 origin_y=$3 wanted=$4 name x y w h
  shift 4
  while read -r name x y w h; do
    if [ "$name" = "$wanted" ]; then
      echo "$((origin_x + x + w / 2)) $((origin_y + y + h / 2))"
      return 0
    fi
  done < <("$tool" "$@")
  echo "layout-lib: $tool $* has no $wanted" >&2
  return 1
}

# dialog_layout_point TOOL KIND NAME FRAME_X FRAME_Y FRAME_WIDTH FRAME_HEIGHT:
# widget NAME of a shown dialog of that kind (message-box, question,
# text-input, folder-browser), whose size decides where its widgets went.
dialog_layout_point() {
  local tool=$1 kind=$2 name=$3 fx=$4 fy=$5 fw=$6 fh=$7
  layout_point "$tool" $((fx + layout_frame)) $((fy + layout_frame)) "$name" \
    --window "$kind" --client $((fw - 2 * layout_frame)) $((fh - 2 * layout_frame))
}
