# shellcheck shell=bash
# Sourced: build_package BUILD_DIR OUT_DIR writes the Debian package of the
# build into OUT_DIR (cpack's work files too) and sets `deb` to its path;
# fails (1) when cpack fails or writes other than one package.
build_package() {
  local build=$1 out=$2
  if ! "${CPACK:-cpack}" --config "$build/CPackConfig.cmake" -G DEB -B "$out" >"$out/cpack.log" 2>&1; then
    cat "$out/cpack.log"
    echo "cpack failed"
    return 1
  fi
  local found=("$out"/*.deb)
  if [ "${#found[@]}" -ne 1 ] || [ ! -f "${found[0]}" ]; then
    cat "$out/cpack.log"
    echo "cpack wrote ${#found[@]} packages: ${found[*]}"
    return 1
  fi
  # shellcheck disable=SC2034  # the caller's result
  deb=${found[0]}
}
