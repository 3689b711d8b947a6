#!/usr/bin/env bash
# Builds the Debian package and checks it without installing it: its name,
# its control fields and dependencies, that it holds everything
# `cmake --install` lays out (under /usr) and the pieces a user needs, and
# that its maintainer scripts run ldconfig and reload udev only where udev
# runs, never failing the install.
#   check_package.sh BUILD_DIR VERSION
set -u
build=$1
version=$2
work=$(mktemp -d "${TMPDIR:-/tmp}/neritmice-package-XXXXXX")
trap 'rm -rf "$work"' EXIT
fail() { echo "$1"; exit 1; }
if ! command -v dpkg-deb >/dev/null || ! command -v "${CPACK:-cpack}" >/dev/null; then
  echo "dpkg-deb or cpack missing"
  exit 77
fi
# shellcheck source=tests/packaging/build_package.sh
source "$(dirname "$0")/build_package.sh"
mkdir "$work/out"
build_package "$build" "$work/out" || exit 1

arch=$(dpkg --print-architecture)
[ "$(basename "$deb")" = "neritmice_${version}_${arch}.deb" ] || fail "the package is named $(basename "$deb")"

# Control fields.
field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = neritmice ] || fail "Package: $(field Package)"
[ "$(field Version)" = "$version" ] || fail "Version: $(field Version)"
[ "$(field Architecture)" = "$arch" ] || fail "Architecture: $(field Architecture)"
[ "$(field Section)" = utils ] || fail "Section: $(field Section)"
[ -n "$(field Maintainer)" ] || fail "no Maintainer"
[ -n "$(field Homepage)" ] || fail "no Homepage"
# A summary line, then a long text that does not repeat it.
description=$(field Description)
echo "$description" | head -n 1 | grep -q "Vimo" || fail "Description: $description"
[ "$(echo "$description" | sed -n 2p | sed 's/^ *//')" != "$(echo "$description" | head -n 1)" ] ||
  fail "the long description repeats the summary: $description"
[ "$(echo "$description" | wc -l)" -ge 3 ] || fail "no long description: $description"
depends=$(field Depends)
echo "Depends: $depends"
for library in libhidapi-hidraw0 libsdl2 libc6; do
  echo "$depends" | grep -q -E "(^|[ ,|])$library" || fail "Depends lacks $library"
done
# The helpers the program calls: web links, the file dialog, message boxes.
for helper in xdg-utils zenity xfonts-base; do
  field Recommends | grep -q -E "(^|[ ,|])$helper" || fail "Recommends lacks $helper"
done

# Everything the install lays out is in the package under /usr.
dpkg-deb -c "$deb" | awk '{ print $6 }' | sed 's|^\./|/|; s|/$||' | sort >"$work/contents.txt"
cmake --install "$build" --prefix "$work/tree" >/dev/null || fail "cmake --install failed"
(cd "$work/tree" && find . -mindepth 1 ! -type d) | sed 's|^\.|/usr|' | sort >"$work/installed.txt"
missing=$(comm -23 "$work/installed.txt" "$work/contents.txt")
[ -z "$missing" ] || fail "installed but not packaged: $missing"
# And the pieces by name, wherever the install rules put them.
for piece in /usr/bin/NeritMice /usr/bin/neritctl /usr/include/hidlink.h /usr/share/man/man1/neritctl.1 \
  /usr/share/bash-completion/completions/neritctl /usr/share/zsh/vendor-completions/_neritctl \
  /usr/share/NeritMice/VimoSkin /usr/share/NeritMice/VimoSkin1 /usr/share/NeritMice/VimoSkin2 \
  /usr/share/NeritMice/VimoSkin3 /usr/share/doc/neritmice/copyright; do
  grep -q -x -F "$piece" "$work/contents.txt" || fail "the package lacks $piece"
done
for pattern in '^/usr/lib/(.*/)?libhidlink\.so$' '^/usr/lib/(.*/)?libhidlink\.so\.[0-9]+$' \
  '^/usr/lib/(.*/)?pkgconfig/hidlink\.pc$' '^/usr/lib/udev/rules\.d/60-neritmice\.rules$|^/lib/udev/rules\.d/60-neritmice\.rules$' \
  '^/usr/share/applications/.*\.desktop$' '^/usr/share/metainfo/.*\.xml$' '^/usr/share/icons/hicolor/scalable/apps/.*\.svg$'; do
  # The desktop file, metainfo and icons only once the install has them.
  case "$pattern" in *applications* | *metainfo* | *icons*)
    grep -q -E "${pattern/\/usr/}" <(sed 's|^/usr||' "$work/installed.txt") || continue ;;
  esac
  grep -q -E "$pattern" "$work/contents.txt" || fail "the package has nothing matching $pattern"
done
grep -q -E '^/usr/share/NeritMice/VimoSkin3/.+' "$work/contents.txt" || fail "the skin folders are empty"

# The programs are stripped and do not look for libraries in the build tree.
dpkg-deb -x "$deb" "$work/root"
for program in "$work/root/usr/bin/NeritMice" "$work/root/usr/bin/neritctl"; do
  readelf -S "$program" | grep -q -F ".debug_info" && fail "$program keeps its debugging information"
  if readelf -d "$program" | grep -E 'R(UN)?PATH' | grep -q -F "$build"; then
    fail "$program keeps a path into the build tree: $(readelf -d "$program" | grep -E 'R(UN)?PATH')"
  fi
done

# The maintainer scripts: present, executable, and with stand-ins for
# ldconfig and udevadm they do what the package needs.
dpkg-deb -e "$deb" "$work/control"
grep -q "libhidlink" "$work/control/shlibs" 2>/dev/null || fail "no shlibs entry for libhidlink"
for script in postinst postrm; do
  [ -x "$work/control/$script" ] || fail "no executable $script"
done
mkdir "$work/stubs"
for tool in ldconfig udevadm; do
  printf '#!/bin/sh\necho "%s $*" >>"%s/calls.txt"\nexit 0\n' "$tool" "$work" >"$work/stubs/$tool"
  chmod +x "$work/stubs/$tool"
done
# Each script runs in a mount namespace of its own with an empty /run, with
# or without udev's control socket in it, so both cases are seen here.
unshare -rm true 2>/dev/null || { echo "no user namespaces: cannot give the scripts a /run of their own"; exit 77; }
run_script() {
  local udev=$1 script=$2 argument=$3
  : >"$work/calls.txt"
  # shellcheck disable=SC2016  # expanded by the inner shell
  unshare -rm /bin/sh -c '
    mount -t tmpfs none /run || exit 99
    if [ "$1" = yes ]; then
      mkdir /run/udev && python3 -c "import socket; socket.socket(socket.AF_UNIX).bind(\"/run/udev/control\")" || exit 99
    fi
    PATH="$2" exec /bin/sh "$3" "$4"' sh "$udev" "$work/stubs" "$work/control/$script" "$argument" ||
    fail "$script $argument failed (status $?, udev: $udev)"
}
reload="udevadm control --reload-rules"
replay="udevadm trigger --subsystem-match=hidraw --action=change"
for script in postinst:configure postrm:remove postrm:purge; do
  run_script yes "${script%%:*}" "${script#*:}"
  [ "$(cat "$work/calls.txt")" = "$(printf 'ldconfig \n%s\n%s' "$reload" "$replay")" ] ||
    fail "$script with udev ran: $(cat "$work/calls.txt")"
  run_script no "${script%%:*}" "${script#*:}"
  [ "$(cat "$work/calls.txt")" = "ldconfig " ] || fail "$script without udev ran: $(cat "$work/calls.txt")"
done
# A failing udevadm never fails the install; neither does a missing one.
sed -i 's/^exit 0$/exit 1/' "$work/stubs/udevadm"
run_script yes postinst configure
rm "$work/stubs/udevadm"
run_script yes postinst configure
# Upgrades leave the loader and udev alone in postrm.
run_script yes postrm upgrade
[ -s "$work/calls.txt" ] && fail "postrm upgrade ran: $(cat "$work/calls.txt")"
echo "package $(basename "$deb") checked"
