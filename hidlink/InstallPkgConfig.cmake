# Runs at install time: writes hidlink.pc straight into the installed tree
# with the prefix given to `cmake --install` (HIDLINK_PC_TEMPLATE and
# HIDLINK_PC_DIR are set by the install rule before this script).
set(HIDLINK_PC_PREFIX "${CMAKE_INSTALL_PREFIX}")
set(pc_dir "${HIDLINK_PC_DIR}")
if(NOT IS_ABSOLUTE "${pc_dir}")
  set(pc_dir "${CMAKE_INSTALL_PREFIX}/${pc_dir}")
endif()
set(pc_file "$ENV{DESTDIR}${pc_dir}/hidlink.pc")
message(STATUS "Installing: ${pc_file}")
configure_file("${HIDLINK_PC_TEMPLATE}" "${pc_file}" @ONLY)
list(APPEND CMAKE_INSTALL_MANIFEST_FILES "${pc_dir}/hidlink.pc")
