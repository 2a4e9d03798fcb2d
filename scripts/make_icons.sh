#!/bin/sh
# Renders the program icons (data/icons/*.svg) into the PNG sizes that get
# installed into the hicolor theme. Needs rsvg-convert (Debian: librsvg2-bin).
set -eu
icons="$(cd "$(dirname "$0")/../data/icons" && pwd)"
for name in merkwald merklight; do
    for size in 16 32 48 64 128 256; do
        rsvg-convert -w "$size" -h "$size" "$icons/$name.svg" -o "$icons/$name-$size.png"
    done
done
ls -l "$icons"
