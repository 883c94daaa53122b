# CPack settings for the Debian 12 package: `cpack -G DEB` in the build tree writes
# pelmora_<version>-<release>_<arch>.deb. Only the install component "pelmora" goes in.
# The library dependencies come from dpkg-shlibdeps; the fonts are named by hand because
# the program finds them through fontconfig at run time, which no linker can see.

set(CPACK_PACKAGE_NAME pelmora)
set(CPACK_PACKAGE_VENDOR "The Pelmora developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "look at the bits of a 32-bit value")
set(CPACK_PACKAGE_HOMEPAGE_URL ${PELMORA_HOMEPAGE})
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGE_CONTACT ${PELMORA_MAINTAINER})
set(CPACK_GENERATOR DEB)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS ${CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS})
# Build tree, project, component, subdirectory: install nothing but our component.
set(CPACK_INSTALL_CMAKE_PROJECTS "${CMAKE_BINARY_DIR};${PROJECT_NAME};pelmora;/")
set(CPACK_THREADS 1)
# Same source, same .deb: every time stamp in it is SOURCE_DATE_EPOCH (see
# cmake/PelmoraReproducible.cmake), and SHA256SUMS goes beside it.
set(CPACK_PELMORA_SOURCE_DATE_EPOCH ${PELMORA_SOURCE_DATE_EPOCH})
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_LIST_DIR}/cpack-options.cmake)
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/cpack-directory-modes.cmake)
# The .deb's own ar members get the modes dpkg-deb gives them before the sums are taken.
set(CPACK_POST_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/deb-member-modes.cmake
                             ${CMAKE_CURRENT_LIST_DIR}/sha256sums.cmake)

set(CPACK_DEBIAN_PACKAGE_NAME pelmora)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE ${PELMORA_DEB_RELEASE})
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${PELMORA_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${PELMORA_HOMEPAGE})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-arphic-gkai00mp, fonts-wqy-zenhei")
# Qt's Wayland platform plugin: with it the program is a native client of a Wayland
# desktop (Debian 12's GNOME and KDE) instead of an X11 one through XWayland, which blurs
# it at fractional scales. Recommended, not required, since X11 still works without it;
# apt installs recommendations by default.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS qt6-wayland)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The extended description; CPack puts the summary above it as the synopsis line.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
"Pelmora shows the 32 bits of a hexadecimal value as coloured cells, red for
a one and light blue for a zero. Ticking the boxes under the cells, or typing
a range such as 3,10, reads a bit field in binary and hexadecimal. A second
row builds a value bit by bit and shows it in binary and hexadecimal.
.
The window's captions and messages are in simplified Chinese.")

include(CPack)
