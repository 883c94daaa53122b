# Packaging checks, label "packaging". They install into temporary prefixes and build the
# .deb into temporary folders, so they never touch the build tree's own output or the
# system. Exit code 77 means "skipped: a tool is missing" (only outside CI).

set(here ${CMAKE_CURRENT_LIST_DIR})
set(has_program 0)
if(TARGET pelmora)
  set(has_program 1)
endif()

add_test(NAME packaging_installed_files
         COMMAND bash ${here}/check-installed-files.sh
                 ${CMAKE_COMMAND} ${CMAKE_BINARY_DIR} ${PROJECT_SOURCE_DIR} ${has_program}
                 ${PROJECT_VERSION} ${PELMORA_RELEASE_DATE})

add_test(NAME packaging_windows_zip
         COMMAND bash ${here}/check-windows-zip.sh
                 ${CMAKE_COMMAND} ${CMAKE_CURRENT_SOURCE_DIR} ${PELMORA_WINDOWS_EXE} ${PROJECT_SOURCE_DIR}
                 ${PROJECT_VERSION} ${PELMORA_SOURCE_DATE_EPOCH})

set(tests packaging_installed_files packaging_windows_zip)

# The package and the launch need the program itself.
if(has_program)
  add_test(NAME packaging_deb
           COMMAND bash ${here}/check-deb.sh
                   ${CMAKE_CPACK_COMMAND} ${CMAKE_BINARY_DIR} ${PROJECT_SOURCE_DIR}
                   ${PROJECT_VERSION}-${PELMORA_DEB_RELEASE} ${PELMORA_SOURCE_DATE_EPOCH})
  add_test(NAME packaging_installed_program_window
           COMMAND python3 ${here}/check_installed_window.py
                   ${CMAKE_COMMAND} ${CMAKE_BINARY_DIR} ${PROJECT_SOURCE_DIR})
  list(APPEND tests packaging_deb packaging_installed_program_window)
  set_tests_properties(packaging_deb PROPERTIES TIMEOUT 600)
  set_tests_properties(packaging_installed_program_window PROPERTIES TIMEOUT 120)
endif()

set_tests_properties(${tests} PROPERTIES LABELS packaging SKIP_RETURN_CODE 77)
