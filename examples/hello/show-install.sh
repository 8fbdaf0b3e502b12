#!/usr/bin/env bash
# Installs the example product under Wine through tarnell-deploy, as the
# install button would with the window's first choices, and shows what
# landed where: the files, the registration and the file types, the
# shortcuts and the service.
#   examples/hello/show-install.sh WINDOWS_BUILD_DIR HELLO_SETUP.exe
# The Wine environment must be running (scripts/wine-env.sh, wine_env_start).
set -uo pipefail
[ $# -eq 2 ] || { echo "usage: $0 WINDOWS_BUILD_DIR HELLO_SETUP.exe" >&2; exit 2; }
build=$(cd "$1" && pwd)
setup=$(cd "$(dirname "$2")" && pwd)/$(basename "$2")
deploy=$build/src/app/driver/tarnell-deploy.exe
# A 32-bit setup writes the 32-bit view of the registry.
view=/reg:64
case $(basename "$build") in *i686*) view=/reg:32 ;; esac

here=$(cd "$(dirname "$0")" && pwd)
windows() { local path=$1; echo "Z:${path//\//\\}"; }
run() { wine "$@" </dev/null 2>/dev/null | tr -d '\r'; }
heading() { printf '\n== %s\n' "$1"; }

heading "What the setup window would offer"
run "$deploy" status "$(windows "$setup")"
heading "Install: the setup log, then the message box"
run "$deploy" install "$(windows "$setup")"
"$here/show-landed.sh" $view
