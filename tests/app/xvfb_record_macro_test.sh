#!/usr/bin/env bash
# The real NeritMice on an X display (with_xvfb.sh gives it a private Xvfb)
# records a macro from desktop input while another window is in front and
# has the focus: xdotool types A and B and clicks once over that window, then
# clicks NeritMice's stop button. The default macro file must hold exactly
# those keys and that one click (the stop click is not recorded), and the
# program must end cleanly through its close button.
#   xvfb_record_macro_test.sh NERITMICE NERIT_SCREENSHOTS SKINS
# Skipped (77) without a display, xdotool, xwd or xlogo (the other window).
set -u
program=$1
screenshots=$2
skins=$3
work=$(mktemp -d)
app=
other=
trap '[ -n "$app" ] && kill "$app" 2>/dev/null; [ -n "$other" ] && kill "$other" 2>/dev/null; rm -rf "$work"' EXIT
# shellcheck source=tests/app/neritmice_xvfb_common.sh
source "$(dirname "$0")/neritmice_xvfb_common.sh"
command -v xlogo >/dev/null || { echo "xlogo missing"; exit 77; }

# Where the macro page's controls lie in the window.
"$screenshots" --rects "$skins" 2 macromanagebtn macro_new_btn macro_name_list macro_record_btn \
  macro_record_stop_btn >"$work/rects.txt" || { cat "$work/rects.txt"; fail "the macro page lacks a control"; }
declare -A left top right bottom
while read -r name l t r b; do
  left[$name]=$l top[$name]=$t right[$name]=$r bottom[$name]=$b
done <"$work/rects.txt"
# Clicks the middle of control NAME of the main window.
click_control() {
  click_at "$window" "$(((left[$1] + right[$1]) / 2))" "$(((top[$1] + bottom[$1]) / 2))"
}
# Prints points 6 px apart along line Y of control NAME.
strip() {
  local x
  for ((x = left[$1] + 4; x < right[$1] - 4; x += 6)); do echo -n " $x $2"; done
}
# The first name row lies 4 px below the list's top and is 18 px high.
row_x=$(((left[macro_name_list] + right[macro_name_list]) / 2))
row_y=$((top[macro_name_list] + 4 + 9))
# The selected tab is underlined in red, 3 px above its bottom.
tab_x=$(((left[macromanagebtn] + right[macromanagebtn]) / 2))
tab_y=$((bottom[macromanagebtn] - 3))
# Points along the first name row, which a new macro fills.
row_points=$(strip macro_name_list "$row_y")
record_points=$(strip macro_record_btn "$(((top[macro_record_btn] + bottom[macro_record_btn]) / 2))")

# True when the last screenshot shows the macro tab selected.
macro_tab_shown() {
  local colour
  colour=$(pixels "$tab_x" "$tab_y" | tr -d ' ')
  [ $((16#${colour:0:2})) -ge 192 ] && [ $((16#${colour:2:2})) -lt 128 ]
}

# Waits (5 s at most) until the window shows other colours at POINTS than BEFORE.
wait_change() {
  for _ in $(seq 50); do
    sleep 0.1
    # shellcheck disable=SC2086
    screenshot "$window" && [ "$(pixels $1)" != "$2" ] && return 0
  done
  return 1
}

open_window

# Clicks are ignored while the profiles are read: the tab is clicked until
# the page shows.
shown=
for _ in $(seq 100); do
  click_control macromanagebtn
  sleep 0.3
  screenshot "$window" && macro_tab_shown && { shown=1; break; }
  kill -0 "$app" 2>/dev/null || fail "NeritMice ended before the macro page showed"
done
[ -n "$shown" ] || fail "the macro page did not show (tab underline:$(pixels "$tab_x" "$tab_y"))"

# A new macro, chosen, and recorded.
# shellcheck disable=SC2086
empty_row=$(pixels $row_points)
click_control macro_new_btn
wait_change "$row_points" "$empty_row" || fail "no name row appeared for a new macro"
click_at "$window" "$row_x" "$row_y"
sleep 0.3
# The record button blinks while recording: its look, away from the
# pointer, differs from the look before.
# shellcheck disable=SC2086
screenshot "$window" && idle_button=$(pixels $record_points)
click_control macro_record_btn
sleep 0.2
read -r x y < <(window_origin "$window")
xdotool mousemove "$((x + row_x))" "$((y + row_y))"
wait_change "$record_points" "$idle_button" || fail "the record button did not start blinking"

# Another window in front of NeritMice's page, with the focus.
read -r x y < <(window_origin "$window")
xlogo -title "record target" -geometry "300x200+$((x + 300))+$((y + 300))" >>"$work/out.txt" 2>>"$work/err.txt" &
other=$!
other_window=$(timeout 10 xdotool search --sync --onlyvisible --name "^record target$" 2>/dev/null | head -n 1)
[ -n "$other_window" ] || fail "the other window did not show"
xdotool windowraise "$other_window"
xdotool windowfocus "$other_window"
for _ in $(seq 50); do
  [ "$(xdotool getwindowfocus 2>/dev/null)" = "$other_window" ] && break
  sleep 0.1
done
[ "$(xdotool getwindowfocus 2>/dev/null)" = "$other_window" ] || fail "the other window did not take the focus"

xdotool key --delay 150 a b
sleep 0.3
click_at "$other_window" 150 100
sleep 0.5

# The stop button, clicked as a user would: the pointer comes first.
click_control macro_record_stop_btn
sleep 0.5
kill "$other" 2>/dev/null
wait "$other" 2>/dev/null
other=
close_window "$window"

# The simulated mouse's state file was kept to the end: the LEDs that the
# start-up lights (state byte 9) are on.
led=$(od -An -tu1 -j 9 -N 1 "$work/state" 2>/dev/null | tr -d ' ')
[ "$led" = "255" ] || fail "the simulated mouse's state file is wrong (byte 9: ${led:-no file})"

# The macro file is a raw image: its texts, one a field, in order.
macros=$work/data/profile/Macros
[ -s "$macros" ] || fail "no macro file $macros"
fields=$(tr -s '\0' '|' <"$macros")
echo "recorded: $(echo "$fields" | grep -o -E '[kmt]\|[^|]*\|(down\||up\|)?' | tr -d '\n')"
left_click='|m|Left Click        |'
for event in '|k| A |down|' '|k| A |up|' '|k| B |down|' '|k| B |up|' "${left_click}down|" "${left_click}up|"; do
  case "$fields" in *"$event"*) ;; *) fail "the macro lacks the event \"$event\"" ;; esac
done
clicks=$(echo "$fields" | grep -o -F "${left_click}down|" | wc -l)
[ "$clicks" -eq 1 ] || fail "the macro holds $clicks left button presses, not the other window's one"
releases=$(echo "$fields" | grep -o -F "${left_click}up|" | wc -l)
[ "$releases" -eq 1 ] || fail "the macro holds $releases left button releases, not the other window's one"
# In the order they were made, with a measured delay before each but the first.
delay='t|[0-9]+\.[0-9]{3}|'
order="k\| A \|down\|${delay}k\| A \|up\|${delay}k\| B \|down\|${delay}k\| B \|up\|${delay}m\|Left Click {8}\|down\|${delay}m\|Left Click {8}\|up\|"
echo "$fields" | grep -q -E "\|$order" || fail "the macro's events are not the keys and the click in order"
echo "xvfb record macro test passed"
