# shellcheck shell=bash
# For scripts that pack one manifest with the setup program of either build
# (sourced). The builder refuses a stub of the other bitness than the
# manifest's product.architecture, so the manifest is made to ask for the
# stub's.

# stub_architecture STUB: x64 for a 64-bit Windows program, else x86.
stub_architecture() {
  local pe machine
  pe=$(od -An -tu4 -j60 -N4 "$1" | tr -d ' ')
  machine=$(od -An -tx2 -j$((pe + 4)) -N2 "$1" | tr -d ' ')
  if [ "$machine" = 8664 ]; then echo x64; else echo x86; fi
}
# match_architecture MANIFEST STUB: writes the stub's architecture into the
# manifest's [product] table, for a 64-bit stub (x86 is the default).
match_architecture() {
  [ "$(stub_architecture "$2")" = x64 ] || return 0
  sed -i '0,/^\[product\]$/s//[product]\narchitecture = "x64"/' "$1"
}
