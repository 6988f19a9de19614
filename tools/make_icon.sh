#!/bin/sh
# Draws the program's icon (a blue pack struck through in red)
# into src/win32/app.ico with ImageMagick. Run by hand when the icon is to
# change; the icon itself is committed.
set -eu
out=${1:-"$(dirname "$0")/../src/win32/app.ico"}
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
convert -size 256x256 xc:none \
  -fill '#1a3c8c' -draw 'roundrectangle 24,40 232,232 28,28' \
  -fill '#2f8fc4' -draw 'roundrectangle 24,40 232,100 28,28' \
  -fill '#ffffff' -draw 'rectangle 96,120 160,200' \
  -stroke '#e8452c' -strokewidth 26 -draw 'line 40,216 216,56' \
  "$tmp/icon.png"
for size in 16 24 32 48 256; do
  convert "$tmp/icon.png" -resize ${size}x${size} "$tmp/icon-$size.png"
done
convert "$tmp"/icon-16.png "$tmp"/icon-24.png "$tmp"/icon-32.png "$tmp"/icon-48.png "$tmp"/icon-256.png "$out"
