#!/usr/bin/env bash
# Install and uninstall benchmark, run by hand (not part of the tests):
#
#   bench/install/run.sh
#
# Builds a product of 19 files of about 150 MB (Windows binaries, text and
# already-compressed data), packs it into a Tarnell setup with tarnell-pack
# and into an NSIS installer (Debian's makensis: zlib, not solid), and times
# in one fresh Wine prefix, side by side:
#   - the install and the uninstall of each (ours through tarnell-deploy, NSIS
#     silently with /S; its uninstaller runs in place, _?=, so it is waited for);
#   - the same for a package of one small file, so that the payload's own
#     throughput is (150 MB) / (big install - small install);
#   - our setup's peak private bytes for the 150 MB install and a 1 MB one.
# Each time is the median of RUNS runs (default 3).
#
# Environment: WINDOWS_BUILD (default build/i686, or build/x86_64 where
# Wine runs no 32-bit programs: tarnell-deploy and
# tarnell-setup are built there), TARNELL_PACK (default
# build/tools/tools/tarnell-pack/tarnell-pack, built by the tools preset),
# WORK (default build/bench-install), RUNS, TARNELL_DISPLAY_NUMBER.
set -euo pipefail
cd "$(dirname "$0")/../.."
source bench/wine-bench-lib.sh
work=$root/${WORK:-build/bench-install}
runs=${RUNS:-3}
build_programs tarnell-deploy-testing tarnell-setup
deploy=$root/$windows_build/src/app/driver/tarnell-deploy-testing.exe  # --memory is a test option
stub=$root/$windows_build/src/app/tarnell-setup.exe

# The payloads, 150 MB: 8 binaries of 7.5 MB (Wine's own Windows DLLs, one
# after the other), 6 texts of 7.5 MB (C headers), 5 already compressed
# files of 9 MB (gzip files).
payload() {  # payload NAME-PATTERN COUNT SIZE SOURCE-LIST: COUNT pieces of the sources
  local pattern=$1 count=$2 size=$3 list=$4 i
  for i in $(seq 1 "$count"); do
    xargs -0 cat <"$list" 2>/dev/null | tail -c +$(((i - 1) * size + 1)) | head -c "$size" \
      >"$work/payload/big/$(printf "$pattern" "$i")" || true
  done
}
if [ ! -f "$work/payload/.done" ]; then
  rm -rf "$work/payload"
  mkdir -p "$work/payload/big" "$work/payload/small" "$work/payload/one-mb"
  find /usr/lib/x86_64-linux-gnu/wine/x86_64-windows -name '*.dll' -print0 | sort -z >"$work/binaries.list"
  find /usr/include -name '*.h' -print0 | sort -z >"$work/text.list"
  find /usr/share -name '*.gz' -print0 | sort -z >"$work/compressed.list"
  payload "Module%02d.dll" 8 7500000 "$work/binaries.list"
  payload "Reference%02d.txt" 6 7500000 "$work/text.list"
  payload "Archive%02d.gz" 5 9000000 "$work/compressed.list"
  head -c 4096 "$work/payload/big/Reference01.txt" >"$work/payload/small/Readme.txt"
  head -c 1048576 "$work/payload/big/Module01.dll" >"$work/payload/one-mb/Module.dll"
  touch "$work/payload/.done"
fi

# Our setups and NSIS's installers of the same files.
package() {  # package NAME
  local name=$1 file
  local folder="$work/payload/$name" files
  files=("$folder"/*)
  files=("${files[@]##*/}")
  {
    printf '[product]\nname = "Bench%s"\nversion = "1.0"\n' "${name//-/}"
    for file in "${files[@]}"; do printf '\n[[file]]\nsource = "payload/%s/%s"\n' "$name" "$file"; done
  } >"$work/$name.toml"
  match_architecture "$work/$name.toml" "$stub"
  [ -f "$work/ours-$name.exe" ] || "$root/$pack" build "$work/$name.toml" -o "$work/ours-$name.exe" --stub "$stub" >/dev/null
  {
    printf 'Name "NSIS %s"\nOutFile "nsis-%s.exe"\nSetCompressor zlib\nRequestExecutionLevel admin\n' "$name" "$name"
    printf 'InstallDir "C:\\bench\\nsis-%s"\nPage directory\nPage instfiles\n' "$name"
    printf 'Section\n  SetOutPath "$INSTDIR"\n'
    for file in "${files[@]}"; do printf '  File "payload/%s/%s"\n' "$name" "$file"; done
    printf '  WriteUninstaller "$INSTDIR\\uninst.exe"\nSectionEnd\nSection Uninstall\n'
    for file in "${files[@]}"; do printf '  Delete "$INSTDIR\\%s"\n' "$file"; done
    printf '  Delete "$INSTDIR\\uninst.exe"\n  RMDir "$INSTDIR"\nSectionEnd\n'
  } >"$work/$name.nsi"
  [ -f "$work/nsis-$name.exe" ] || (cd "$work" && makensis -V1 "$name.nsi" >/dev/null)
}
for name in big small one-mb; do package "$name"; done

export TARNELL_DISPLAY_NUMBER=${TARNELL_DISPLAY_NUMBER:-172}
# shellcheck source=/dev/null
source scripts/wine-env.sh "$work"
start_bench_wine

ours_install() { wine "$deploy" install "$(windows_path "$work/ours-$1.exe")" --program-folder "C:\\bench\\ours-$1"; }
ours_uninstall() { wine "$deploy" uninstall "$(windows_path "$work/ours-$1.exe")"; }
nsis_install() { wine "$work/nsis-$1.exe" /S; }
nsis_uninstall() { wine "C:\\bench\\nsis-$1\\uninst.exe" /S "_?=C:\\bench\\nsis-$1"; rm -rf "$(prefix_unix_path "C:\\bench\\nsis-$1")"; }

declare -A time
for name in big small; do
  for kind in ours nsis; do
    : >"$work/$kind-$name.install" && : >"$work/$kind-$name.uninstall"
  done
  for _ in $(seq "$runs"); do
    for kind in ours nsis; do
      seconds "${kind}_install" "$name" >>"$work/$kind-$name.install"
      seconds "${kind}_uninstall" "$name" >>"$work/$kind-$name.uninstall"
    done
  done
  for kind in ours nsis; do
    time[$kind-$name-install]=$(median <"$work/$kind-$name.install")
    time[$kind-$name-uninstall]=$(median <"$work/$kind-$name.uninstall")
  done
done

payload_mb=$(du -cb "$work/payload/big"/* | tail -1 | awk '{ printf "%.1f", $1 / 1048576 }')
throughput() { echo "scale=1; $payload_mb / ($1 - $2)" | bc; }
size() { stat -c %s "$1"; }

memory_big=$(peak_private_bytes "$deploy" "$work/ours-big.exe" "C:\\bench\\ours-big")
memory_small=$(peak_private_bytes "$deploy" "$work/ours-one-mb.exe" "C:\\bench\\ours-one-mb")

printf '\nPayload: 19 files, %s MiB; medians of %s runs, wall seconds\n\n' "$payload_mb" "$runs"
printf '%-28s %10s %10s %10s\n' "" ours NSIS ours/NSIS
for step in install uninstall; do
  for name in big small; do
    printf '%-28s %10s %10s %10s\n' "$step ($name)" "${time[ours-$name-$step]}" "${time[nsis-$name-$step]}" \
      "$(ratio "${time[ours-$name-$step]}" "${time[nsis-$name-$step]}")"
  done
done
ours_rate=$(throughput "${time[ours-big-install]}" "${time[ours-small-install]}")
nsis_rate=$(throughput "${time[nsis-big-install]}" "${time[nsis-small-install]}")
printf '%-28s %10s %10s %10s\n' "payload throughput (MiB/s)" "$ours_rate" "$nsis_rate" "$(ratio "$ours_rate" "$nsis_rate")"
printf '%-28s %10s %10s %10s\n' "installer size (bytes)" "$(size "$work/ours-big.exe")" "$(size "$work/nsis-big.exe")" \
  "$(ratio "$(size "$work/ours-big.exe")" "$(size "$work/nsis-big.exe")")"
printf '%-28s %10s %10s\n' "peak private bytes" "150 MB: $memory_big" "1 MB: $memory_small"
printf '\nTargets: install ours/NSIS <= 0.8; throughput ours/NSIS >= 2; size ours/NSIS <= 1;\n'
printf 'peak private bytes of the 150 MB install within 2 MB (2097152) of the 1 MB install (difference %s).\n' \
  "$((memory_big - memory_small))"
