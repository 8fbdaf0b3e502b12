#!/usr/bin/env bash
# The folder-tree benchmark, run by hand (not part of the tests):
#
#   bench/install/tree.sh
#   TREE_SCALE=0.1 WINDOWS_BUILD=build/x86_64 bench/install/tree.sh
#
# Generates a product shaped like a desktop program (make-tree.py: about
# 15,000 files and 600 MB in folders up to four deep at TREE_SCALE 1) and its
# next version (10 % of the files changed, 5 % dropped, 5 % added), and times
# in one fresh Wine prefix, each step checked before the next one:
#   - install, update and uninstall through tarnell-deploy-testing, against
#     NSIS installers of the same trees (`File /r`, makensis's default
#     compressor; the update is the second installer run over the first)
#     where Wine runs NSIS's 32-bit installers, and against Wine's
#     `xcopy /e /i /q` of the unpacked tree (the update copies the new tree
#     over the old one; the removal is `rmdir /s /q`);
#   - our setup's peak private bytes for the tree against a 5-file product;
#   - `tarnell-pack build` against `makensis` on the first tree: time and size.
# After each install and update every file must equal the tree's and, after
# each removal, nothing may be left: otherwise the script fails.
#
# Environment: TREE_SCALE (default 1), TREE_SEED (default 1), RUNS (default
# 1: each time is the median of RUNS rounds of install, update, uninstall),
# and WINDOWS_BUILD, TARNELL_PACK, WORK (default build/bench-tree),
# TARNELL_DISPLAY_NUMBER as for run.sh.
set -euo pipefail
cd "$(dirname "$0")/../.."
source bench/wine-bench-lib.sh
work=$root/${WORK:-build/bench-tree}
scale=${TREE_SCALE:-1}
seed=${TREE_SEED:-1}
runs=${RUNS:-1}
build_programs tarnell-deploy-testing tarnell-setup
deploy=$root/$windows_build/src/app/driver/tarnell-deploy-testing.exe  # --memory is a test option
stub=$root/$windows_build/src/app/tarnell-setup.exe
nsis_runs=yes
wine_runs i686 || nsis_runs=""

mkdir -p "$work"
if [ ! -f "$work/trees/.done-$seed-$scale" ]; then
  rm -rf "$work/trees"
  mkdir -p "$work/trees/five"
  python3 bench/install/make-tree.py "$work/trees" "$seed" "$scale"
  for i in 1 2 3 4 5; do head -c $((i * 4096)) "$work/trees/tree-1.0/README.txt" >"$work/trees/five/File$i.txt"; done
  touch "$work/trees/.done-$seed-$scale"
fi
files=$(find "$work/trees/tree-1.0" -type f | wc -l)
bytes=$(du -sb "$work/trees/tree-1.0" | cut -f1)

# Our setups and NSIS's installers of the trees; the first tree's builds are
# timed.
declare -A build_time
ours_build() {  # ours_build NAME VERSION
  printf '[product]\nname = "Bench%s"\nversion = "%s"\n\n[[folder]]\nsource = "trees/%s"\ndestination = "program"\n' \
    "$1" "$2" "$3" >"$work/$1-$2.toml"
  match_architecture "$work/$1-$2.toml" "$stub"
  "$root/$pack" build "$work/$1-$2.toml" -o "$work/ours-$1-$2.exe" --stub "$stub"
}
nsis_build() {  # nsis_build VERSION
  cat >"$work/tree-$1.nsi" <<EOF
Name "NSIS tree"
OutFile "nsis-tree-$1.exe"
RequestExecutionLevel admin
InstallDir "C:\\bench\\nsis-tree"
Page directory
Page instfiles
Section
  SetOutPath "\$INSTDIR"
  File /r "trees/tree-$1/*"
  WriteUninstaller "\$INSTDIR\\uninst.exe"
SectionEnd
Section Uninstall
  RMDir /r "\$INSTDIR"
SectionEnd
EOF
  (cd "$work" && makensis -V1 "tree-$1.nsi")
}
rm -f "$work"/ours-*.exe "$work"/nsis-*.exe
build_time[ours]=$(seconds ours_build Tree 1.0 tree-1.0 | xargs printf '%.2f')
build_time[nsis]=$(seconds nsis_build 1.0 | xargs printf '%.2f')
ours_build Tree 2.0 tree-2.0 >/dev/null
ours_build Five 1.0 five >/dev/null
[ -z "$nsis_runs" ] || nsis_build 2.0 >/dev/null

export TARNELL_DISPLAY_NUMBER=${TARNELL_DISPLAY_NUMBER:-172}
# shellcheck source=/dev/null
source scripts/wine-env.sh "$work"
start_bench_wine

ours_folder="C:\\bench\\ours-tree"
copy_folder="C:\\bench\\copy-tree"
nsis_folder="C:\\bench\\nsis-tree"
tree() { windows_path "$work/trees/tree-$1"; }
ours_install() { wine "$deploy" install "$(windows_path "$work/ours-Tree-$1.exe")" --program-folder "$ours_folder"; }
ours_uninstall() { wine "$deploy" uninstall "$(windows_path "$work/ours-Tree-$1.exe")"; }
copy_install() { wine xcopy /e /i /q /y "$(tree "$1")" "$copy_folder"; }
copy_uninstall() { wine cmd /c rmdir /s /q "$copy_folder"; }
nsis_install() { wine "$work/nsis-tree-$1.exe" /S; }
# The uninstaller runs in place (_?=), so that it is waited for, and cannot
# delete itself there.
nsis_uninstall() { wine "$nsis_folder\\uninst.exe" /S "_?=$nsis_folder"; rm -rf "$(prefix_unix_path "$nsis_folder")"; }

# check_tree KIND VERSION: the installed folder holds the tree's files, byte
# for byte, and besides them only the installer's own file in its root (the
# copy may also hold the files the update dropped, which xcopy leaves).
check_tree() {
  local name=${1}_folder folder own
  folder=$(prefix_unix_path "${!name}")
  case $1 in
    ours) own=": BenchTree_Setup.exe\$" ;;
    nsis) own=": uninst.exe\$" ;;
    copy) own="" ;;
  esac
  diff -r "$work/trees/tree-$2" "$folder" | grep -v "^Only in $folder$own" >"$work/diff" || true
  if [ -s "$work/diff" ]; then
    echo "$1's install of tree $2 differs from the tree:" >&2
    head -20 "$work/diff" >&2
    exit 1
  fi
  [ "$1" != ours ] || [ -f "$folder/BenchTree_Setup.exe" ] || { echo "our install left no setup copy" >&2; exit 1; }
}
# check_removed KIND: nothing of the product is left, neither its folder nor
# (ours) its registration.
check_removed() {
  local name=${1}_folder folder
  folder=$(prefix_unix_path "${!name}")
  [ ! -e "$folder" ] || { echo "$1's removal left $(find "$folder" | head -5)" >&2; exit 1; }
  if [ "$1" = ours ] && registered; then
    echo "our uninstall left its registration" >&2
    exit 1
  fi
}
registered() {
  wine reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\BenchTree' "/reg:${registry_view}" \
    </dev/null >/dev/null 2>&1
}
registry_view=32
[ "$(stub_architecture "$stub")" = x86 ] || registry_view=64

# The prefix's first programs start slower; none of the timed ones is first.
wine "$deploy" --version </dev/null >/dev/null 2>&1
wine xcopy /? </dev/null >/dev/null 2>&1 || true

kinds=(ours copy)
[ -z "$nsis_runs" ] || kinds+=(nsis)
steps=(install update uninstall)
for kind in "${kinds[@]}"; do for step in "${steps[@]}"; do : >"$work/$kind.$step"; done; done
for _ in $(seq "$runs"); do
  for kind in "${kinds[@]}"; do
    seconds "${kind}_install" 1.0 >>"$work/$kind.install"
    check_tree "$kind" 1.0
    if [ "$kind" = ours ] && ! registered; then
      echo "our install wrote no registration" >&2
      exit 1
    fi
    seconds "${kind}_install" 2.0 >>"$work/$kind.update"
    check_tree "$kind" 2.0
    seconds "${kind}_uninstall" 2.0 >>"$work/$kind.uninstall"
    check_removed "$kind"
  done
done
declare -A time
for kind in "${kinds[@]}"; do
  for step in "${steps[@]}"; do time[$kind-$step]=$(median <"$work/$kind.$step" | xargs printf '%.2f'); done
done

memory_tree=$(peak_private_bytes "$deploy" "$work/ours-Tree-1.0.exe" "$ours_folder")
memory_five=$(peak_private_bytes "$deploy" "$work/ours-Five-1.0.exe" "C:\\bench\\ours-five")

size() { stat -c %s "$1"; }
printf '\nTree: %s files, %s bytes (TREE_SCALE %s, seed %s); medians of %s runs, wall seconds\n\n' \
  "$files" "$bytes" "$scale" "$seed" "$runs"
printf '%-26s %10s %10s %10s %10s %10s\n' "" ours NSIS ours/NSIS xcopy ours/xcopy
for step in "${steps[@]}"; do
  nsis=${time[nsis-$step]:-} nsis_ratio=""
  [ -z "$nsis" ] || nsis_ratio=$(ratio "${time[ours-$step]}" "$nsis")
  printf '%-26s %10s %10s %10s %10s %10s\n' "$step" "${time[ours-$step]}" "${nsis:--}" "${nsis_ratio:--}" \
    "${time[copy-$step]}" "$(ratio "${time[ours-$step]}" "${time[copy-$step]}")"
done
printf '%-26s %10s %10s %10s\n' "build time (s)" "${build_time[ours]}" "${build_time[nsis]}" \
  "$(ratio "${build_time[ours]}" "${build_time[nsis]}")"
printf '%-26s %10s %10s %10s\n' "installer size (bytes)" "$(size "$work/ours-Tree-1.0.exe")" \
  "$(size "$work/nsis-tree-1.0.exe")" "$(ratio "$(size "$work/ours-Tree-1.0.exe")" "$(size "$work/nsis-tree-1.0.exe")")"
printf '%-26s %10s %10s %10s\n' "peak private bytes" "$memory_tree" "5 files:" "$memory_five"
[ -n "$nsis_runs" ] || printf '\nNSIS installers not run: %s.\n' "${TARNELL_I686_NOT_RUN:-Wine runs no 32-bit programs here}"
printf '\nGoal: install ours/NSIS <= 0.6.\n'
