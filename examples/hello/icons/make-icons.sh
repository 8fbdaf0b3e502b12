#!/usr/bin/env bash
# Draws the example's icons with ImageMagick (32 and 16 pixels each).
# The .ico files are committed; run this only to change them.
set -euo pipefail
cd "$(dirname "$0")"
page="polygon 5,1 21,1 27,7 27,30 5,30"
# ico DRAWING... FILE
ico() { convert -size 32x32 xc:none "${@:1:$#-1}" -define icon:auto-resize=32,16 "${@: -1}"; }
ico -fill '#2f6fb5' -draw "roundrectangle 1,1 30,30 6,6" \
    -fill white -draw "rectangle 9,8 13,24 rectangle 19,8 23,24 rectangle 13,14 19,18" hello.ico
ico -fill white -stroke '#555555' -draw "$page" \
    -stroke none -fill '#2f6fb5' -draw "rectangle 9,10 12,24 rectangle 19,10 22,24 rectangle 12,15 19,18" document.ico
ico -fill '#ffe9a0' -stroke '#8a6d00' -draw "$page" -stroke none -fill '#d04a02' -draw "circle 16,18 16,11" greeting.ico
ico -fill '#2e9e3e' -draw "polygon 7,4 27,16 7,28" start.ico
ico -fill '#c62828' -draw "rectangle 6,6 26,26" stop.ico
