#!/usr/bin/env bash
# The screenshots: every page and popup of every language is drawn into the
# output folder as a PNG, and the tool reports success.
set -u
tool=$1
skins=$2
out=$3
rm -rf "$out"
"$tool" "$skins" "$out"
code=$?
[ "$code" -eq 0 ] || echo "nerit_screenshots failed ($code)"
missing=0
for lang in en zh_TW zh_CN de; do
  for name in main_control performance macro support popup_play_option message_box popup_key \
              popup_confirmation sensor_optical sensor_hdst sensor_laser sensor_on_the_fly_dpi; do
    file="$out/$lang/$name.png"
    if [ "$(head -c 8 "$file" 2>/dev/null | od -An -tx1 | tr -d ' \n')" != "89504e470d0a1a0a" ]; then
      echo "missing or not a PNG: $file"
      missing=1
    fi
  done
done
[ "$missing" -eq 0 ] && [ "$code" -eq 0 ] && { echo "screenshots in $out"; exit 0; }
exit 1
