# Packaging checks. Those of the .deb and the ZIP read the release files in
# PELMORA_RELEASE_FILES (the test command points it at the ones scripts/check-reproducible.sh
# built from a fresh clone). Exit code 77: skipped, a tool or the release files are missing.

set(here ${CMAKE_CURRENT_LIST_DIR})
set(PELMORA_RELEASE_FILES "${PROJECT_SOURCE_DIR}/build-release-files" CACHE PATH
    "The release files the packaging checks read (scripts/build-release-files.sh)")
get_property(programs GLOBAL PROPERTY PELMORA_INSTALLED_PROGRAMS)
string(REPLACE ";" " " programs "${programs}")

add_test(NAME packaging_installed_files
         COMMAND bash ${here}/check-installed-files.sh ${CMAKE_COMMAND} ${CMAKE_BINARY_DIR}
                 ${PROJECT_SOURCE_DIR} "${programs}" ${PROJECT_VERSION} ${PELMORA_RELEASE_DATE})
add_test(NAME packaging_windows_zip
         COMMAND bash ${here}/check-windows-zip.sh ${CMAKE_COMMAND} ${CMAKE_CURRENT_SOURCE_DIR}
                 ${PELMORA_RELEASE_FILES} ${PROJECT_SOURCE_DIR} ${PROJECT_VERSION}
                 ${PELMORA_SOURCE_DATE_EPOCH})
add_test(NAME packaging_deb
         COMMAND bash ${here}/check-deb.sh ${PELMORA_RELEASE_FILES} ${PROJECT_SOURCE_DIR}
                 "${programs}" ${PROJECT_VERSION} ${PELMORA_RELEASE_DATE})
add_test(NAME packaging_installed_program_window
         COMMAND ${Python3_EXECUTABLE} ${here}/check_installed_window.py ${PELMORA_RELEASE_FILES}
                 ${PROJECT_SOURCE_DIR} ${PROJECT_VERSION})
add_test(NAME packaging_install_deps
         COMMAND bash ${here}/check-install-deps.sh ${PROJECT_SOURCE_DIR}/scripts)

set_tests_properties(packaging_installed_files packaging_windows_zip packaging_deb
  packaging_installed_program_window packaging_install_deps
  PROPERTIES LABELS packaging SKIP_RETURN_CODE 77)
set_tests_properties(packaging_deb packaging_installed_program_window PROPERTIES TIMEOUT 300)
