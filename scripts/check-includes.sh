#!/usr/bin/env bash
# Refuses every quoted include in src/ (or the tree given) that does not name
# its header by the path from src/, layer folder first: "system/services.h".
# The compiler looks beside the including file before the include path, so a
# relative include ("../app/setup_state.h") or one of a subfolder
# ("behaviour/edit_buffer.h") would reach a header past the layers' header
# views (cmake/Layers.cmake). Lists each offender; exits 1 when there is one.
set -euo pipefail
root=${1:-"$(dirname "$0")/../src"}
root=${root%/}

offenders=0
while IFS=: read -r file line text; do
  header=$(sed -E 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"([^"]*)".*/\1/' <<<"$text")
  reason=
  if [[ $header == ../* || $header == ./* || $header == */../* || $header == */./* ]]; then
    reason="is relative"
  elif [ ! -f "$root/$header" ]; then
    reason="does not start with a layer folder"
  elif [ "$(dirname "$file")" != "$root" ] && [ -e "$(dirname "$file")/$header" ]; then
    reason="names a header beside the file"
  fi
  if [ -n "$reason" ]; then
    echo "$file:$line: include \"$header\" $reason: name it by its path from src/"
    offenders=$((offenders + 1))
  fi
done < <(grep -rnE --include='*.h' --include='*.cpp' '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' "$root")

[ $offenders -eq 0 ] || exit 1
