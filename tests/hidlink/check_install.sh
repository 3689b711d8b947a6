#!/usr/bin/env bash
# Installs the hidlink component under a fresh prefix chosen at install time
# and checks what an outside program sees: hidlink.pc names that prefix, its
# version and the library's file name follow the SONAME, and a C program
# builds from pkg-config's flags alone and runs.
#   check_install.sh BUILD_DIR C_COMPILER [EXTRA_LINK_FLAGS]
set -euo pipefail
build=$1
cc=$2
extra=${3:-}
prefix=$(mktemp -d "${TMPDIR:-/tmp}/hidlink-install-XXXXXX")
trap 'rm -rf "$prefix"' EXIT

cmake --install "$build" --prefix "$prefix" --component hidlink >/dev/null
pc=$(find "$prefix" -name hidlink.pc)
[ -n "$pc" ] || { echo "no hidlink.pc installed"; exit 1; }
export PKG_CONFIG_PATH
PKG_CONFIG_PATH=$(dirname "$pc")
got=$(pkg-config --variable=prefix hidlink)
[ "$got" = "$prefix" ] || { echo "hidlink.pc prefix is $got, not $prefix"; exit 1; }

libdir=$(pkg-config --variable=libdir hidlink)
soname=$(readelf -d "$libdir/libhidlink.so" | sed -n 's/.*(SONAME).*\[\(.*\)\]/\1/p')
file=$(basename "$(readlink -f "$libdir/libhidlink.so")")
version=$(pkg-config --modversion hidlink)
[ "$soname" = "libhidlink.so.${version%%.*}" ] || { echo "SONAME $soname does not match version $version"; exit 1; }
[ "$file" = "libhidlink.so.$version" ] || { echo "library file $file does not match version $version"; exit 1; }

printf '%s\n' '#include <hidlink.h>' \
    'int main(void) { return Close_VQ_device() == 1 && Open_VQ_device() == 1 ? 0 : 1; }' > "$prefix/use.c"
# shellcheck disable=SC2046,SC2086
"$cc" "$prefix/use.c" -o "$prefix/use" $(pkg-config --cflags --libs hidlink) $extra
LD_LIBRARY_PATH="$libdir" VIMO_SIMULATE="$prefix/mouse.state" "$prefix/use"
echo "hidlink installs under $prefix: pkg-config, SONAME $soname and a linked program work"
