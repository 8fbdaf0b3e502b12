# shellcheck shell=bash
# Sourced by every script that runs Windows programs (and by wine-env.sh):
# the one place that knows what this host can run under Wine.
#   source scripts/wine-host.sh
#   wine_runs ARCH      # true when Wine runs ARCH (i686, x86_64) programs here
#
# Some hosts run no 32-bit code at all: the kernel has IA-32 emulation off
# and every i386 program fails with "Exec format error". Debian's `wine`
# wrapper still picks the 32-bit loader there, so nothing would run. On such
# a host, or wherever TARNELL_WINE_ARCHS=x86_64 asks for it, every `wine`,
# `wineboot` and `winepath` comes from scripts/wine64-only, which calls the
# 64-bit loader directly. After sourcing:
#   TARNELL_WINE_ARCHS     the targets Wine runs here: "i686,x86_64" or "x86_64"
#   TARNELL_I686_NOT_RUN   why i686 programs are not run, or empty

tarnell_scripts=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

# Which loaders this host can execute. Asked once; the answer is exported, so
# the scripts and emulators that run beneath this shell reuse it.
if [ -z "${TARNELL_WINE_HOST_CHECKED:-}" ]; then
  TARNELL_I686_NOT_RUN=""
  case ${TARNELL_WINE_ARCHS:-i686,x86_64} in
    x86_64) TARNELL_I686_NOT_RUN="TARNELL_WINE_ARCHS=x86_64 asks for the 64-bit-only path" ;;
    i686,x86_64 | x86_64,i686) ;;
    *)
      echo "wine-host.sh: TARNELL_WINE_ARCHS must be \"i686,x86_64\" or \"x86_64\", not \"$TARNELL_WINE_ARCHS\"" >&2
      return 2 2>/dev/null || exit 2
      ;;
  esac
  if [ -z "$TARNELL_I686_NOT_RUN" ]; then
    if [ ! -x /usr/lib/wine/wine ]; then
      TARNELL_I686_NOT_RUN="the 32-bit Wine loader is not installed (wine32:i386)"
    elif ! loader_error=$(/usr/lib/wine/wine --version 2>&1 >/dev/null); then
      TARNELL_I686_NOT_RUN="this host runs no 32-bit programs (${loader_error##*: })"
    fi
    unset loader_error
  fi
  TARNELL_WINE_ARCHS=i686,x86_64
  [ -z "$TARNELL_I686_NOT_RUN" ] || TARNELL_WINE_ARCHS=x86_64
  export TARNELL_WINE_ARCHS TARNELL_I686_NOT_RUN TARNELL_WINE_HOST_CHECKED=1
fi
if [ -n "$TARNELL_I686_NOT_RUN" ]; then
  case ":$PATH:" in
    *":$tarnell_scripts/wine64-only:"*) ;;
    *) export PATH=$tarnell_scripts/wine64-only:$PATH ;;
  esac
fi

wine_runs() {
  case ",$TARNELL_WINE_ARCHS," in *",$1,"*) return 0 ;; *) return 1 ;; esac
}
