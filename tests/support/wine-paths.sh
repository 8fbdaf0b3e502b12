# shellcheck shell=bash
# Path names between Linux and the Wine programs, for the test and benchmark
# scripts (sourced). Wine shows the Unix root as drive Z: and the prefix's
# drive_c as C:.

# windows_path UNIX_PATH: the path as drive Z: shows it; starts no Wine process.
windows_path() { printf 'Z:%s' "${1//\//\\}"; }
# wine_windows_path UNIX_PATH: the name Wine itself gives the path (C: inside
# the prefix's drive_c, Z: elsewhere), as a program's own paths read.
wine_windows_path() { winepath -w "$1" 2>/dev/null; }
# unix_path WINDOWS_PATH: where a Windows path of the running prefix lies.
unix_path() { winepath -u "$1" 2>/dev/null; }
# prefix_unix_path 'C:\...': where a C: path lies, without starting Wine.
prefix_unix_path() { echo "$WINEPREFIX/drive_c/${1#C:\\}" | tr '\\' '/'; }
