#!/usr/bin/env bash
# The program's window carries the X class that its launcher names as
# StartupWMClass, however the program was started: here from a copy under
# another file name and with another class left in its environment, both of
# which SDL would otherwise take. Run on a display (with_xvfb.sh); skipped
# (77) without xdotool or xprop.
set -u
program=$1
desktop_file=$2
work=$(mktemp -d)
app=
trap '[ -n "$app" ] && kill "$app" 2>/dev/null && wait "$app"; rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; cat "$work/err.txt" 2>/dev/null; exit 1; }
for tool in xdotool xprop; do command -v "$tool" >/dev/null || { echo "$tool missing"; exit 77; }; done

wanted=$(sed -n 's/^StartupWMClass=//p' "$desktop_file")
[ -n "$wanted" ] || fail "$desktop_file names no StartupWMClass"

# The copy finds the skins and its icon beside it, as the program does
# beside itself.
cp "$program" "$work/renamed-mouse-tool"
for skin in "$(dirname "$program")"/VimoSkin* "$(dirname "$program")"/*.png; do ln -s "$skin" "$work/"; done
export XDG_RUNTIME_DIR="$work/run"
mkdir -m 700 "$XDG_RUNTIME_DIR"
SDL_VIDEO_X11_WMCLASS=LeftOverClass "$work/renamed-mouse-tool" --simulate="$work/state" --data-dir "$work/data" \
  >"$work/out.txt" 2>"$work/err.txt" &
app=$!

window=
for _ in $(seq 200); do
  window=$(xdotool search --onlyvisible --pid "$app" 2>/dev/null | head -n 1)
  [ -n "$window" ] && break
  kill -0 "$app" 2>/dev/null || break
  sleep 0.1
done
if [ -z "$window" ]; then
  grep -q "cannot open the display" "$work/err.txt" && { cat "$work/err.txt"; exit 77; }
  fail "no window of the program showed"
fi
# WM_CLASS(STRING) = "instance", "class"
class=$(xprop -id "$window" WM_CLASS | sed -n 's/^WM_CLASS(STRING) = "\(.*\)", "\(.*\)"$/\1 \2/p')
[ "$class" = "$wanted $wanted" ] || fail "the window's WM_CLASS is \"$class\", the launcher expects \"$wanted\""
echo "WM_CLASS $class matches StartupWMClass=$wanted"
# The window carries its own icon too, for desktops that show the window's
# icon rather than the launcher's: 48 x 48 pixels, not all of them clear.
icon=$(xprop -id "$window" -notype _NET_WM_ICON 2>/dev/null)
echo "$icon" | grep -q "Icon (48 x 48):" || fail "the window has no 48 x 48 icon: ${icon:0:120}"
# xprop draws the icon in shades; a clear icon would be blanks only.
echo "$icon" | sed -n '/Icon (48 x 48):/,$p' | sed 1d | grep -q '[^[:space:]]' || fail "the window's icon is blank"
echo "the window's icon is 48 x 48"
