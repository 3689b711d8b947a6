#!/usr/bin/env bash
# cmake --install of the desktop files under a fresh prefix: the launcher (and
# it still validates there), the software-centre description, the scalable
# icon and each PNG icon at the size its folder names.
#   check_desktop_install.sh PACKAGING_BUILD_DIR APP_ID ICON_NAME SIZE...
set -u
build=$1
app_id=$2
icon=$3
shift 3
prefix=$(mktemp -d "${TMPDIR:-/tmp}/desktop-install-XXXXXX")
trap 'rm -rf "$prefix"' EXIT
failed=0
fail() { echo "FAIL: $*"; failed=1; }

cmake --install "$build" --prefix "$prefix" >/dev/null || { echo "FAIL: cmake --install"; exit 1; }
share=$prefix/share
desktop=$share/applications/$app_id.desktop
[ -s "$desktop" ] || fail "no $desktop"
[ -s "$desktop" ] && ! desktop-file-validate "$desktop" && fail "the installed launcher does not validate"
[ -s "$share/metainfo/$app_id.metainfo.xml" ] || fail "no metainfo/$app_id.metainfo.xml"
grep -q '<svg' "$share/icons/hicolor/scalable/apps/$icon.svg" 2>/dev/null || fail "no scalable/apps/$icon.svg"

# Width and height from the PNG header (IHDR at byte 16).
png_size() {
  [ "$(head -c 8 "$1" | od -An -tx1 | tr -d ' \n')" = "89504e470d0a1a0a" ] || return 1
  od -An -tu1 -j 16 -N 8 "$1" | awk '{ printf "%dx%d\n", (($1*256+$2)*256+$3)*256+$4, (($5*256+$6)*256+$7)*256+$8 }'
}
for size in "$@"; do
  file=$share/icons/hicolor/${size}x${size}/apps/$icon.png
  got=$(png_size "$file" 2>/dev/null)
  [ "$got" = "${size}x${size}" ] || fail "$file is ${got:-missing or not a PNG}, not ${size}x${size}"
done
[ "$failed" -eq 0 ] && echo "desktop files installed under $prefix"
exit "$failed"
