#!/usr/bin/env bash
# Shows what an install of the example product left on the machine: the
# program and data folders, the registration, the file types, the shortcuts
# and the service.
#   examples/hello/show-landed.sh REGISTRY_VIEW
# REGISTRY_VIEW is the view the setup wrote: /reg:32 for a 32-bit setup,
# /reg:64 for a 64-bit one. The Wine environment must be running
# (scripts/wine-env.sh, wine_env_start).
set -uo pipefail
[ $# -eq 1 ] || { echo "usage: $0 /reg:32|/reg:64" >&2; exit 2; }
view=$1

run() { wine "$@" </dev/null 2>/dev/null | tr -d '\r'; }
unix() { winepath -u "$1" 2>/dev/null; }
heading() { printf '\n== %s\n' "$1"; }
key='HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\Hello'
value() { run reg query "$key" /v "$1" "$view" | sed -n "s/^ *$1 *REG_[A-Z_]* *//p"; }

program=$(value InstallLocation)
data=$(value DataPath)
heading "Program folder $program"
ls -l --time-style=long-iso "$(unix "$program")"
heading "Data folder $data"
ls -l --time-style=long-iso "$(unix "$data")"
heading "Registration"
run reg query "$key" "$view" | grep -v '^$'
heading "File types"
for extension in hlo hlg; do
  run reg query "HKCR\\.$extension" "$view" | grep -v '^$'
  run reg query "HKCR\\Hello.$extension" /s "$view" | grep -v '^$'
done
heading "Shortcuts"
(cd "$WINEPREFIX/drive_c" && find . -name '*.lnk' \( -path '*Tarnell*' -o -path '*Desktop*' \) | sed 's|^\./|C:/|')
heading "Service"
run sc query HelloAgent | grep -v '^$'
run reg query 'HKLM\System\CurrentControlSet\Services\HelloAgent' "$view" | grep -E 'ImagePath|DisplayName|Start'
