#!/usr/bin/env bash
# Installs the example product under Wine through setup-driver, as the
# install button would with the window's first choices, and shows what
# landed where: the files, the registration and the file types, the
# shortcuts and the service.
#   examples/hello/show-install.sh WINDOWS_BUILD_DIR HELLO_SETUP.exe
# The Wine environment must be running (scripts/wine-env.sh, wine_env_start).
set -uo pipefail
[ $# -eq 2 ] || { echo "usage: $0 WINDOWS_BUILD_DIR HELLO_SETUP.exe" >&2; exit 2; }
build=$(cd "$1" && pwd)
setup=$(cd "$(dirname "$2")" && pwd)/$(basename "$2")
driver=$build/src/app/driver/setup-driver.exe
# A 32-bit setup writes the 32-bit view of the registry.
view=/reg:64
case $(basename "$build") in *i686*) view=/reg:32 ;; esac

windows() { local path=$1; echo "Z:${path//\//\\}"; }
unix() { winepath -u "$1" 2>/dev/null; }
run() { wine "$@" </dev/null 2>/dev/null | tr -d '\r'; }
heading() { printf '\n== %s\n' "$1"; }
key='HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\Hello'

heading "What the setup window would offer"
run "$driver" "$(windows "$setup")" mode
heading "Install: the message box, then the setup log"
run "$driver" "$(windows "$setup")" install --print-log

value() { run reg query "$key" /v "$1" $view | sed -n "s/^ *$1 *REG_[A-Z_]* *//p"; }
program=$(value InstallLocation)
data=$(value DataPath)
heading "Files: program folder $program"
ls -l --time-style=long-iso "$(unix "$program")"
heading "Files: data folder $data"
ls -l --time-style=long-iso "$(unix "$data")"
heading "Registration"
run reg query "$key" $view
heading "File types"
for extension in hlo hlg; do
  run reg query "HKCR\\.$extension" $view | grep -v '^$'
  run reg query "HKCR\\Hello.$extension" /s $view | grep -v '^$'
done
heading "Shortcuts"
(cd "$WINEPREFIX/drive_c" && find . -name '*.lnk' \( -path '*Tarnell*' -o -path '*Desktop*' \) | sed 's|^\./|C:/|')
heading "Service"
run sc query HelloAgent
run reg query 'HKLM\System\CurrentControlSet\Services\HelloAgent' /v ImagePath $view | grep ImagePath
