# The Debian package: `cpack -G DEB` in the build folder writes
# neritmice_<version>_<arch>.deb holding everything `cmake --install` lays
# out, under /usr. Runtime libraries become Depends through dpkg-shlibdeps.
set(NERIT_PACKAGE_MAINTAINER "NeritMice maintainers <maintainers@users.noreply.c-seed-dc268ba2.example>"
    CACHE STRING "The Maintainer field of the Debian package")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME neritmice)
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_VENDOR "NeritMice")
set(CPACK_PACKAGE_CONTACT "${NERIT_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "configuration program for the Vimo programmable gaming mouse")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_PACKAGE_NAME neritmice)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${NERIT_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${NERIT_HOMEPAGE}")
# The long text under the summary line (CPack puts the summary first).
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "NeritMice sets up the Vimo gaming mouse over USB HID: its five on-board
profiles, button assignments, DPI stages, report rate, power saving, LEDs
and macros recorded from the keyboard and mouse.
.
The package holds the desktop program NeritMice, the command-line tool
neritctl, the libhidlink library with its header and pkg-config file, and a
udev rule giving the logged-in user access to the mouse.")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# What the program calls on when it is there: web links, the file dialog
# where no desktop portal answers, the X core fonts of SDL's message boxes.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils, xdg-desktop-portal-gtk | zenity, xfonts-base")
# libhidlink's SONAME goes into the shlibs file for programs built on it.
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS_POLICY ">=")
# postinst and postrm run ldconfig and have udev apply the rule at once.
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA "${CMAKE_CURRENT_LIST_DIR}/postinst;${CMAKE_CURRENT_LIST_DIR}/postrm")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
