#!/usr/bin/env bash
# The Debian package's NeritMice, unpacked into a scratch prefix and run on a
# private X display against the simulated mouse with a scratch XDG data
# folder, driven with xdotool as a user would: tabs, the report rate applied,
# profile 2 saved, a single key on button 5, a recorded macro on a button,
# German and back, the mouse pulled and plugged in, and the close button
# with its question. Screenshots are probed at known points; what reached
# the mouse is read with the package's neritctl afterwards.
#   xvfb_package_test.sh BUILD_DIR NERIT_SCREENSHOTS SKINS
# Skipped (77) without a display, xdotool, xwd or dpkg-deb.
# Point lists are passed split into words on purpose.
# shellcheck disable=SC2046,SC2086
set -u
build=$1
screenshots=$2
skins=$3
work=$(mktemp -d "${TMPDIR:-/tmp}/neritmice-e2e-XXXXXX")
app=
# A failed run keeps its folder (the screenshots of every step) and names it.
trap 'status=$?; [ -n "$app" ] && kill "$app" 2>/dev/null
      if [ "$status" -eq 0 ]; then rm -rf "$work"; else echo "kept for inspection: $work"; fi' EXIT
root=$work/root
program=$root/usr/bin/NeritMice
# shellcheck source=tests/app/neritmice_xvfb_common.sh
source "$(dirname "$0")/../app/neritmice_xvfb_common.sh"
command -v dpkg-deb >/dev/null || { echo "dpkg-deb missing"; exit 77; }
# shellcheck source=tests/packaging/build_package.sh
source "$(dirname "$0")/build_package.sh"

mkdir "$work/package"
build_package "$build" "$work/package" || fail "no package"
dpkg-deb -x "$deb" "$root" || fail "cannot unpack $deb"
[ -x "$program" ] || fail "the package has no usr/bin/NeritMice"

# The data folder by the XDG rules, not a --data-dir.
export HOME=$work/home XDG_DATA_HOME=$work/xdg
mkdir "$HOME"
data=$XDG_DATA_HOME/NeritMice
start() {
  "$program" --simulate="$work/state" >>"$work/out.txt" 2>>"$work/err.txt" &
  app=$!
}

# Control rectangles of the main window, by page: rect_PAGE NAME... fills
# left/top/right/bottom[NAME].
declare -A left top right bottom
rects() {
  local page=$1 name l t r b
  shift
  "$screenshots" --rects "$skins" "$page" "$@" >"$work/rects.txt" || { cat "$work/rects.txt"; fail "page $page lacks a control"; }
  while read -r name l t r b; do
    left[$name]=$l top[$name]=$t right[$name]=$r bottom[$name]=$b
  done <"$work/rects.txt"
}
rects 0 maincontrolbtn performancebtn macromanagebtn techsupportbtn button_5_btn button_6_btn profileokbtn
rects 1 usb_rate_125_option usb_rate_500_option usb_rate_250_option kprofile2option kprofile2savebtn kprofileokbtn
rects 2 macro_new_btn macro_name_list macro_record_btn macro_record_stop_btn
rects 3 apversionlabel
mid_x() { echo $(((left[$1] + right[$1]) / 2)); }
mid_y() { echo $(((top[$1] + bottom[$1]) / 2)); }
click_control() { click_at "$window" "$(mid_x "$1")" "$(mid_y "$1")"; }

# Takes a screenshot, keeping a copy named after the step.
shot() {
  screenshot "$window" || fail "no screenshot ($1)"
  cp "$work/shot.xwd" "$work/step-$1.xwd"
}
# True when the last screenshot shows tab NAME selected: a red underline
# 3 px above its bottom.
tab_shown() {
  local colour
  colour=$(pixels "$(mid_x "$1")" "$((bottom[$1] - 3))" | tr -d ' ')
  [ $((16#${colour:0:2})) -ge 192 ] && [ $((16#${colour:2:2})) -lt 128 ]
}
# Clicks tab NAME until it shows selected (clicks are ignored while the
# profiles are read).
select_tab() {
  for _ in $(seq 100); do
    click_control "$1"
    sleep 0.2
    screenshot "$window" && tab_shown "$1" && { shot "tab-$1"; return 0; }
    kill -0 "$app" 2>/dev/null || fail "NeritMice ended before the tab $1 showed"
  done
  fail "the tab $1 did not show (underline:$(pixels "$(mid_x "$1")" "$((bottom[$1] - 3))"))"
}
# The colours at the middle row of control NAME, 6 px apart.
strip() {
  local x y
  y=$(mid_y "$1")
  for ((x = left[$1] + 3; x < right[$1] - 3; x += 6)); do echo -n " $x $y"; done
}
# Waits (20 s at most) until the screenshot shows other colours at POINTS than BEFORE.
wait_change() {
  for _ in $(seq 200); do
    # shellcheck disable=SC2086
    screenshot "$window" && [ "$(pixels $1)" != "$2" ] && return 0
    sleep 0.1
  done
  return 1
}
count_windows() { xdotool search --onlyvisible --name '' 2>/dev/null | wc -l; }
# Waits (TRIES tenths of a second, default 200) until COUNT windows show.
wait_windows() {
  for _ in $(seq "${2:-200}"); do
    [ "$(count_windows)" -eq "$1" ] && return 0
    sleep 0.1
  done
  return 1
}
# Moves the pointer onto the caption's title, where nothing lights up.
park() {
  local x y
  read -r x y < <(window_origin "$window")
  xdotool mousemove "$((x + 150))" "$((y + 24))"
  sleep 0.1
}
# Clicks the window's point X Y until one more window shows (clicks are
# dropped while the program works with the mouse).
click_for_window() {
  local shown
  shown=$(count_windows)
  for _ in $(seq 30); do
    click_at "$window" "$1" "$2"
    wait_windows $((shown + 1)) 20 && return 0
    kill -0 "$app" 2>/dev/null || fail "NeritMice ended"
  done
  return 1
}
# Clicks control NAME until its look, with the pointer away, changes.
click_for_change() {
  local before
  park
  screenshot "$window" || fail "no screenshot"
  before=$(pixels $(strip "$1"))
  for _ in $(seq 30); do
    click_control "$1"
    park
    for _ in $(seq 20); do
      screenshot "$window" && [ "$(pixels $(strip "$1"))" != "$before" ] && return 0
      sleep 0.1
    done
    kill -0 "$app" 2>/dev/null || fail "NeritMice ended"
  done
  return 1
}
# Answers the question that a click on control NAME opens with Enter: the
# question window comes and goes.
answer_question() {
  local shown
  shown=$(count_windows)
  click_for_window "$(mid_x "$1")" "$(mid_y "$1")" || fail "no question after a click on $1"
  xdotool key Return
  wait_windows "$shown" || fail "the question of $1 stayed after Enter"
}
# Waits (TRIES tenths of a second, default 200) until a window of WIDTH x
# HEIGHT shows (a popup, by its layout's size); sets `popup` to it. False
# when none showed.
look_for_popup() {
  local id
  for _ in $(seq "${3:-200}"); do
    for id in $(xdotool search --onlyvisible --name '' 2>/dev/null); do
      xdotool getwindowgeometry "$id" 2>/dev/null | grep -q -E "Geometry: $1x$2\$" && { popup=$id; return 0; }
    done
    sleep 0.1
  done
  return 1
}
# As look_for_popup, failing when none shows; then waits until the window is
# painted (it handles input from then on).
find_popup() {
  look_for_popup "$1" "$2" || fail "no window of $1x$2 showed"
  for _ in $(seq 200); do
    xwd -silent -id "$popup" -out "$work/popup.xwd" 2>/dev/null && [ "$(xwd_lit_percent "$work/popup.xwd")" -gt 10 ] &&
      return 0
    sleep 0.1
  done
  fail "the window of $1x$2 stayed unpainted"
}
# Prints the raw pixels of the popup's rows Y0..Y1 from X0 to X1.
popup_area() {
  local x0=$1 x1=$2 y y0=$3 y1=$4 offset bpl
  xwd -silent -id "$popup" -out "$work/popup.xwd" 2>/dev/null || return 1
  offset=$(xwd_pixels_offset "$work/popup.xwd")
  bpl=$(xwd_field "$work/popup.xwd" 12)
  for ((y = y0; y <= y1; y += 2)); do
    od -An -tx1 -j "$((offset + y * bpl + x0 * 4))" -N "$(((x1 - x0) * 4))" "$work/popup.xwd" | tr -d ' \n'
  done | md5sum
}
# Clicks the popup's point X Y until it goes (COUNT windows are left).
close_popup() {
  for _ in $(seq 30); do
    click_at "$popup" "$1" "$2"
    wait_windows "$3" 20 && return 0
  done
  return 1
}
# Waits (30 s at most) until FILE in the data folder is newer than the marker.
wait_written() {
  for _ in $(seq 300); do
    [ "$data/$1" -nt "$work/marker" ] && return 0
    sleep 0.1
  done
  fail "$data/$1 was not written"
}
mark() { sleep 1.1; touch "$work/marker"; }

open_window
shot start
grep -q "skin folder" "$work/err.txt" && fail "the unpacked program did not find its skins"

# Every tab, the performance page last.
for tab in macromanagebtn techsupportbtn maincontrolbtn performancebtn; do
  select_tab "$tab"
done

# Report rate 500 Hz, applied after its question.
click_for_change usb_rate_500_option || fail "the 500 Hz option did not show selected"
shot rate-500
mark
answer_question kprofileokbtn
wait_written profile/AllProfile
shot applied

# Profile 2 shown, at 250 Hz, and saved after its question.
click_for_change kprofile2option || fail "profile 2 did not show selected"
click_for_change usb_rate_250_option || fail "the 250 Hz option did not show selected"
mark
answer_question kprofile2savebtn
wait_written profile/profile2.vqp
shot profile2-saved

# Button 5 of profile 2 sends F8: its menu's "single key" entry (the fourth,
# after three submenus) by keyboard, then the key popup takes F8 and its OK.
select_tab maincontrolbtn
park
screenshot "$window"
before=$(pixels $(strip button_5_btn))
shown=$(count_windows)
click_for_window "$(mid_x button_5_btn)" "$(mid_y button_5_btn)" || fail "no menu after a click on button 5"
find_popup 180 '[0-9]+'
shot menu
xdotool key --delay 100 Down Down Down Down Return
find_popup 627 296
wait_windows $((shown + 1)) || fail "the menu stayed with the key popup"
# F8 until the popup's name box shows a key.
empty=$(popup_area 44 583 94 130)
named=
for _ in $(seq 20); do
  xdotool key F8
  for _ in $(seq 10); do
    [ "$(popup_area 44 583 94 130)" != "$empty" ] && { named=1; break 2; }
    sleep 0.1
  done
done
[ -n "$named" ] || fail "the key popup did not show the pressed key"
close_popup $(((381 + 491) / 2)) $(((240 + 274) / 2)) "$shown" || fail "the key popup stayed after its OK"
park
wait_change "$(strip button_5_btn)" "$before" || fail "button 5 shows its old assignment"
shot button5-key
mark
answer_question profileokbtn
wait_written profile/AllProfile

# A macro of A and B typed on the desktop, recorded on the macro page.
select_tab macromanagebtn
row_x=$(mid_x macro_name_list)
row_y=$((top[macro_name_list] + 4 + 9))
row_points=""
for ((x = left[macro_name_list] + 4; x < right[macro_name_list] - 4; x += 6)); do row_points="$row_points $x $row_y"; done
before=$(pixels $row_points)
click_control macro_new_btn
wait_change "$row_points" "$before" || fail "no name row appeared for a new macro"
click_at "$window" "$row_x" "$row_y"
sleep 0.3
screenshot "$window"
before=$(pixels $(strip macro_record_btn))
click_control macro_record_btn
read -r x y < <(window_origin "$window")
xdotool mousemove "$((x + row_x))" "$((y + row_y))"
wait_change "$(strip macro_record_btn)" "$before" || fail "the record button did not start blinking"
shot recording
xdotool key --delay 150 a b
sleep 0.3
mark
click_control macro_record_stop_btn
wait_written profile/Macros
shot recorded
fields=$(tr -s '\0' '|' <"$data/profile/Macros")
for event in '|k| A |down|' '|k| A |up|' '|k| B |down|' '|k| B |up|'; do
  case "$fields" in *"$event"*) ;; *) fail "the recorded macro lacks \"$event\"" ;; esac
done

# The macro on button 6: the menu's third submenu, its first entry, played once.
select_tab maincontrolbtn
park
screenshot "$window"
before=$(pixels $(strip button_6_btn))
shown=$(count_windows)
click_for_window "$(mid_x button_6_btn)" "$(mid_y button_6_btn)" || fail "no menu after a click on button 6"
find_popup 180 '[0-9]+'
xdotool key --delay 100 Down Down Down Right
wait_windows $((shown + 2)) || fail "no macro submenu"
sleep 0.5
xdotool key --delay 100 Down Return
find_popup 658 294
wait_windows $((shown + 1)) || fail "the menu stayed with the play popup"
close_popup $(((412 + 522) / 2)) $(((238 + 272) / 2)) "$shown" || fail "the play popup stayed after its OK"
park
wait_change "$(strip button_6_btn)" "$before" || fail "button 6 shows its old assignment"
shot button6-macro
mark
answer_question profileokbtn
wait_written profile/AllProfile

# German from the language box (its last entry) and back to English (its
# first): the tabs' pictures come from the language's skin folder.
tab_points="$(strip maincontrolbtn) $(strip performancebtn) $(strip macromanagebtn)"
screenshot "$window"
english=$(pixels $tab_points)
choose_language() {
  local shown
  shown=$(count_windows)
  click_for_window $(((604 + 734) / 2)) $(((11 + 37) / 2)) || fail "the language box did not open"
  xdotool key "$1"
  sleep 0.2
  xdotool key Return
  wait_windows "$shown" || fail "the language box stayed open"
}
choose_language End
wait_change "$tab_points" "$english" || fail "the tabs did not change for German"
shot german
choose_language Home
for _ in $(seq 100); do
  screenshot "$window" && [ "$(pixels $tab_points)" = "$english" ] && break
  sleep 0.1
done
[ "$(pixels $tab_points)" = "$english" ] || fail "the tabs did not come back to English"
shot english

# The mouse pulled (SIGUSR1 to the simulated one): a notice shows, painted;
# plugged in again (SIGUSR2): it goes, and the window is painted as before.
shown=$(count_windows)
kill -USR1 "$app"
wait_windows $((shown + 1)) || fail "no notice after the mouse was pulled"
notice=
for id in $(xdotool search --onlyvisible --name '' 2>/dev/null); do [ "$id" != "$window" ] && notice=$id; done
xwd -silent -id "$notice" -out "$work/step-unplugged.xwd" 2>/dev/null || fail "no screenshot of the notice"
[ "$(xwd_lit_percent "$work/step-unplugged.xwd")" -gt 10 ] || fail "the notice is not painted"
kill -USR2 "$app"
wait_windows "$shown" || fail "the notice stayed after the mouse came back"
for _ in $(seq 100); do
  screenshot "$window" && [ "$(pixels $tab_points)" = "$english" ] && break
  sleep 0.1
done
[ "$(pixels $tab_points)" = "$english" ] || fail "the window is not painted as before after the mouse came back"
shot replugged

# The caption's close button asks first; Enter answers it and the program
# ends with status 0, its window gone. Clicks are ignored while the profiles
# are read again after the mouse came back: the button is clicked until the
# question shows.
asked=
for _ in $(seq 30); do
  click_at "$window" "$close_x" "$close_y"
  look_for_popup 660 294 20 && { asked=1; break; }
  kill -0 "$app" 2>/dev/null || fail "NeritMice ended without asking"
done
[ -n "$asked" ] || fail "no exit question after the close button"
xwd -silent -id "$popup" -out "$work/step-quit-question.xwd" 2>/dev/null || fail "no screenshot of the exit question"
[ "$(xwd_lit_percent "$work/step-quit-question.xwd")" -gt 10 ] || fail "the exit question is not painted"
xdotool key Return
for _ in $(seq 300); do kill -0 "$app" 2>/dev/null || break; sleep 0.1; done
kill -0 "$app" 2>/dev/null && fail "NeritMice still runs 30 s after its exit question was answered"
wait "$app"
status=$?
app=
[ "$status" -eq 0 ] || fail "NeritMice ended with status $status"
[ -z "$(xdotool search --onlyvisible --name "^${title}\$" 2>/dev/null)" ] || fail "the window stayed after the program ended"
# The data went to the XDG data folder and nowhere else.
[ -s "$data/profile/AllProfile" ] || fail "nothing in the XDG data folder $data"
[ ! -e "$HOME/.local/share/NeritMice" ] || fail "a data folder was made under HOME despite XDG_DATA_HOME"

"$root/usr/bin/neritctl" --simulate "$work/state" dump >"$work/dump.txt" 2>&1 || { cat "$work/dump.txt"; fail "neritctl dump failed"; }
profile() { awk -v p="Profile $1 " 'index($0, p) == 1 { on = 1; next } /^Profile / { on = 0 } on' "$work/dump.txt"; }
profile 1 | grep -q "report rate 500 Hz" || { cat "$work/dump.txt"; fail "profile 1 of the mouse is not at 500 Hz"; }
profile 2 | grep -q "report rate 250 Hz" || { cat "$work/dump.txt"; fail "profile 2 of the mouse is not at 250 Hz"; }
profile 2 | grep -q "button 5: .*F8" || { cat "$work/dump.txt"; fail "button 5 of profile 2 does not send F8"; }
profile 2 | grep -q "button 6: Macro 1 (plays once), [1-9][0-9]* events" ||
  { cat "$work/dump.txt"; fail "button 6 of profile 2 does not play the recorded macro"; }
sed -n "/^Profile 1/,/^Profile 3/p" "$work/dump.txt"
echo "packaged NeritMice test passed"
