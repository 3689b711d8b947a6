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
              popup_confirmation popup_exit_changes sensor_optical sensor_hdst sensor_laser sensor_on_the_fly_dpi; do
    file="$out/$lang/$name.png"
    if [ "$(head -c 8 "$file" 2>/dev/null | od -An -tx1 | tr -d ' \n')" != "89504e470d0a1a0a" ]; then
      echo "missing or not a PNG: $file"
      missing=1
    fi
  done
done

# --rects: the caption's close button where the main frame's layout puts it,
# a macro page button laid out, and a name the layout lacks reported with
# status 1.
layout="$(dirname "$0")/../../resources/xml/189_main_frame.xml"
close=$(sed -n 's/.*name="closebtn".*pos="\([0-9]*\),\([0-9]*\),\([0-9]*\),\([0-9]*\)".*/closebtn \1 \2 \3 \4/p' "$layout")
rects=$("$tool" --rects "$skins" 2 closebtn macro_new_btn no_such_control)
rects_code=$?
echo "$rects"
if [ "$rects_code" -ne 1 ] || [ "$(echo "$rects" | sed -n 1p)" != "$close" ] \
   || ! echo "$rects" | sed -n 2p | awk '{ exit !($1 == "macro_new_btn" && $4 > $2 && $5 > $3) }' \
   || [ "$(echo "$rects" | sed -n 3p)" != "no_such_control missing" ]; then
  echo "--rects gave status $rects_code; expected \"$close\", a laid out macro_new_btn, no_such_control missing"
  missing=1
fi
[ "$missing" -eq 0 ] && [ "$code" -eq 0 ] && { echo "screenshots in $out"; exit 0; }
exit 1
