#!/bin/sh
# Renders the main window's first page beside the exit prompt for the README:
#   skin/screenshot.sh [BUILD_DIR] [OUT.png]
set -eu
build=${1:-build/default}
out=${2:-skin/screenshot.png}
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

render() { "$build/lexivar-skin-render" "$1" "$tmp/$2" --archive "$build/skin/skin.7z"; }
render mainWnd.xml main.png
render exitTipWnd.xml exit.png
render InstalledPathTipWnd.xml installed.png

# A soft shadow under each window, as a compositing desktop draws it.
for f in main exit installed; do
    convert "$tmp/$f.png" \( +clone -background '#1A3A6B' -shadow 22x7+0+3 \) +swap \
        -background none -layers merge +repage "$tmp/$f.png"
done

# The prompts stacked in one column, then the window beside them on a pale desk.
montage "$tmp/exit.png" "$tmp/installed.png" -tile 1x2 -geometry +0+6 -background none "$tmp/prompts.png"
montage "$tmp/main.png" "$tmp/prompts.png" -tile 2x1 -geometry +20+20 -gravity center \
    -background '#EEF2F7' -depth 8 "$out"
