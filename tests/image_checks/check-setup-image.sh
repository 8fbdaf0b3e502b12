#!/usr/bin/env bash
# Checks the setup program's image without running it:
#   check-setup-image.sh ARCH SETUP.exe [TARNELL_PACK]
#   check-setup-image.sh --console ARCH TARNELL_DEPLOY.exe
# ARCH is i686 or x86_64. The image must be a GUI program of that machine
# that asks for administrator rights and imports only KnownDLLs; with the
# native tarnell-pack and NSIS's makensis at hand, the stub (program plus the
# default skin) must stay within 3.3 times NSIS's empty installer. With
# --console: a console program of that machine that imports only KnownDLLs.
set -uo pipefail
console=false
if [ "${1:-}" = --console ]; then
  console=true
  shift
fi
arch=$1 setup=$2 pack=${3:-}
# shellcheck source=tests/support/check-lib.sh
source "$(dirname "$0")/../support/check-lib.sh"
[ -f "$setup" ] || { echo "FAIL: no setup program at $setup"; exit 1; }

case $arch in
  i686) format=pei-i386 objdump=i686-w64-mingw32-objdump ;;
  x86_64) format=pei-x86-64 objdump=x86_64-w64-mingw32-objdump ;;
  *) echo "FAIL: unknown architecture $arch"; exit 1 ;;
esac

if "$objdump" -f "$setup" | grep -q "file format $format"; then pass "a $format image"; else fail "not a $format image"; fi
headers=$("$objdump" -p "$setup")
subsystem=2 kind="Windows GUI program"
$console && subsystem=3 kind="console program"
if grep -qE "^Subsystem[[:space:]]+0*$subsystem[[:space:]]" <<<"$headers"; then pass "a $kind"; else
  fail "not a $kind: $(grep '^Subsystem' <<<"$headers")"
fi

# KnownDLLs only: Windows takes those from the system folder whatever lies
# beside the program, and resolves any other import from the program's own
# folder first, the user's downloads, before the program can say otherwise.
# Other system DLLs are loaded at run time from the system folder; a MinGW
# run-time DLL (libstdc++, libgcc, winpthread) would be missing anyway.
allowed=" advapi32.dll combase.dll comdlg32.dll difxapi.dll gdi32.dll gdiplus.dll imagehlp.dll kernel32.dll msvcrt.dll
          normaliz.dll ntdll.dll ole32.dll oleaut32.dll psapi.dll rpcrt4.dll setupapi.dll shell32.dll shlwapi.dll
          user32.dll wldap32.dll ws2_32.dll "
imports=$(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$headers" | tr 'A-Z' 'a-z' | tr -d '\r')
foreign=""
# One space between the names, the line break of the list included.
allowed=" $(echo $allowed) "
for dll in $imports; do [[ "$allowed" == *" $dll "* ]] || foreign+=" $dll"; done
if [ -z "$foreign" ]; then pass "imports only KnownDLLs:" $imports; else fail "imports DLLs that are no KnownDLLs:$foreign"; fi

if $console; then
  [ $failures -eq 0 ]
  exit
fi
if grep -qa 'level="requireAdministrator"' "$setup"; then pass "its manifest asks for administrator rights"; else
  fail "no manifest asking for administrator rights"
fi

# The size against NSIS's empty installer, as bench/window measures it.
if [ "$arch" != i686 ]; then
  pass "size budget applies to the i686 stub only"
elif [ ! -x "$pack" ] || ! command -v makensis >/dev/null; then
  echo "SKIPPED: size check: needs the native tarnell-pack ($pack) and makensis"
  [ $failures -eq 0 ] && exit 77
else
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
  echo x >"$work/one.txt"
  printf '[product]\nname = "SizeCheck"\nversion = "1.0"\n\n[[file]]\nsource = "one.txt"\n' >"$work/m.toml"
  printf 'Name "Empty"\nOutFile "nsis-empty.exe"\nSetCompressor zlib\nSection\nSectionEnd\n' >"$work/empty.nsi"
  if "$pack" build "$work/m.toml" -o "$work/setup.exe" --stub "$setup" >/dev/null &&
    (cd "$work" && makensis -V1 empty.nsi >/dev/null); then
    skin=$("$pack" list "$work/setup.exe" | sed -n 's/^Skin archive: \([0-9]*\) bytes.*/\1/p')
    stub=$(($(stat -c %s "$setup") + ${skin:-0}))
    nsis=$(stat -c %s "$work/nsis-empty.exe")
    if [ -n "$skin" ] && [ $((stub * 10)) -le $((nsis * 33)) ]; then
      pass "stub $stub bytes (program and skin), $(echo "scale=2; $stub / $nsis" | bc) times NSIS's empty installer"
    else
      fail "stub ${stub} bytes (skin '${skin}') is over 3.3 times NSIS's empty installer ($nsis bytes)"
    fi
  else
    fail "could not pack a setup or build NSIS's empty installer for the size check"
  fi
fi

[ $failures -eq 0 ]
