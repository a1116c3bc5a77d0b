#!/usr/bin/env bash
# Makes the Windows program's images from the program's SVG: the window and class icon, the white
# row-spacing icon and the toolbar strip (five 32 x 32 images: new, open, save, the logo, add).
# Run it when packaging/kordel.svg changes and commit the results; the build only reads them.
# Needs imagemagick and rsvg-convert (Debian: imagemagick librsvg2-bin).
set -euo pipefail
cd "$(dirname "$0")/.."
out=ui/win32/res
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$out"
svg=packaging/kordel.svg

for size in 16 24 32 48 64 256; do
  rsvg-convert -w "$size" -h "$size" -o "$work/icon-$size.png" "$svg"
done
convert "$work"/icon-{16,24,32,48,64,256}.png "$out/kordel.ico"

# A plain white 24 x 24 icon: the list's rows take its height.
convert -size 24x24 xc:white "PNG32:$work/spacer.png"
convert "$work/spacer.png" "$out/spacer.ico"

# The toolbar images on magenta, which the program treats as transparent.
logo="$work/icon-32.png"
key='#ff00ff'
page() { convert -size 32x32 "xc:$key" -fill white -stroke '#2b5797' -strokewidth 2 \
  -draw 'path "M 7,3 L 20,3 L 26,9 L 26,29 L 7,29 Z"' -draw 'line 20,3 20,9' -draw 'line 20,9 26,9' "$1"; }
page "$work/new.png"
convert -size 32x32 "xc:$key" -fill '#f2c14e' -stroke '#9a6a00' -strokewidth 2 \
  -draw 'path "M 3,9 L 12,9 L 15,12 L 28,12 L 28,27 L 3,27 Z"' "$work/open.png"
convert -size 32x32 "xc:$key" -fill '#2b5797' -stroke '#1b3760' -strokewidth 2 \
  -draw 'roundrectangle 4,4 28,28 2,2' -fill white -stroke none -draw 'rectangle 9,5 23,13' \
  -fill '#9fc5f8' -draw 'rectangle 9,18 23,27' "$work/save.png"
convert -size 32x32 "xc:$key" "$logo" -composite "$work/logo.png"
convert -size 32x32 "xc:$key" "$logo" -composite -fill '#3c9a3c' -stroke white -strokewidth 1 \
  -draw 'rectangle 19,12 23,30' -draw 'rectangle 12,19 30,23' "$work/add.png"
convert "$work"/{new,open,save,logo,add}.png +append -alpha off -type TrueColor "BMP3:$out/toolbar.bmp"
echo "made $out/kordel.ico, $out/spacer.ico and $out/toolbar.bmp"
