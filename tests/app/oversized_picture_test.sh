#!/usr/bin/env bash
# The real NeritMice, headless against the simulated mouse, drawing its main
# window from skins whose page picture announces 30000 × 30000 pixels in a
# file of a few bytes: it draws the window without it and says so on
# standard error once, however often the window is painted.
# oversized_picture_test.sh NERITMICE SKINS
set -u
program=$1
skins=$(cd "$2" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The skins are looked for beside the executable, so it is copied next to them.
mkdir "$work/app" "$work/app/VimoSkin"
cp "$program" "$work/app/NeritMice"
ln -s "$skins/VimoSkin1" "$skins/VimoSkin2" "$skins/VimoSkin3" "$work/app/"
ln -s "$skins"/VimoSkin/* "$work/app/VimoSkin/"
picture=$work/app/VimoSkin/MCBox.bmp
rm "$picture"
# The signature and the header chunk of a 30000 × 30000 RGBA PNG.
printf '\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\0\x75\x30\0\0\x75\x30\x08\x06\0\0\0\0\0\0\0' >"$picture"
VIMO_SIMULATE_PAUSES=0 "$work/app/NeritMice" --simulate="$work/state" --data-dir "$work/data" --headless \
  --screenshot "$work/shot.png" >/dev/null 2>"$work/err.txt"
code=$?
expected="NeritMice: the picture $picture is 30000x30000 pixels, larger than a window can use; it is not drawn"
lines=$(grep -c "NeritMice: the picture" "$work/err.txt")
if [ "$code" -ne 0 ] || [ ! -s "$work/shot.png" ] || [ "$lines" -ne 1 ] || ! grep -qxF "$expected" "$work/err.txt"; then
  echo "status $code, $lines lines about pictures; expected 0 and once: $expected"
  cat "$work/err.txt"
  exit 1
fi
echo "refused once: $expected"
