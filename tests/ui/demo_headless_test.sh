#!/usr/bin/env bash
# ui_demo without a display: the controls page renders to a PNG, and a
# layout that does not exist (a name, a number out of range) ends the demo
# with a message and exit code 1, never with a crash.
set -u
demo=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "$1"; cat "$work/out.txt" "$work/err.txt" 2>/dev/null; exit 1; }

"$demo" --headless --layout controls --png "$work/page.png" >"$work/out.txt" 2>"$work/err.txt" \
  || fail "the controls page did not render"
grep -qx "notify windowinit controls_page" "$work/out.txt" || fail "no windowinit from the controls page"
[ "$(head -c 8 "$work/page.png" | od -An -tx1 | tr -d ' \n')" = "89504e470d0a1a0a" ] || fail "no PNG written"

for layout in 99999999999999999999 4294967295 no_such_layout.xml; do
  "$demo" --headless --layout "$layout" >"$work/out.txt" 2>"$work/err.txt"
  code=$?
  [ "$code" -eq 1 ] || fail "--layout $layout: exit code $code"
  grep -q "^ui_demo: the layout did not build: ." "$work/err.txt" || fail "--layout $layout: no message"
done
grep -q "no such layout" "$work/err.txt" && fail "a missing file is reported as a missing layout id"
grep -q "could not be loaded" "$work/err.txt" || fail "a missing file is not reported as a load failure"

# Layouts that parse but must not build say why.
{ printf '<Window>'; yes '<VerticalLayout>' | head -n 45000 | tr -d '\n'
  yes '</VerticalLayout>' | head -n 45000 | tr -d '\n'; printf '</Window>'; } >"$work/deep.xml"
printf '<Window><Label/><Include source="%s" count="10"/></Window>' "$work/self.xml" >"$work/self.xml"
for layout in deep.xml self.xml; do
  "$demo" --headless --layout "$work/$layout" >"$work/out.txt" 2>"$work/err.txt"
  [ $? -eq 1 ] || fail "--layout $layout: not refused"
  grep -q "nested too deeply" "$work/err.txt" || fail "--layout $layout: no reason given"
done
echo "headless demo test passed"
