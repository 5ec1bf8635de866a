#!/usr/bin/env bash
# Renders the icon's PNGs from its SVG (ImageMagick): 48 and 256 pixels, transparent outside.
set -euo pipefail
cd "$(dirname "$0")"
convert_tool=$(command -v convert-im6.q16 || command -v convert)
for size in 48 256; do
  "$convert_tool" -background none -density $((72 * size / 32)) io.github.zorvane.Zorvane.svg \
    -resize "${size}x${size}" "PNG32:io.github.zorvane.Zorvane-$size.png"
done
