# The version in every form the program and its packages show it, all made from
# project(VERSION) and PELMORA_RELEASE_DATE in the top-level CMakeLists.txt:
#
#   PELMORA_VERSION_SHORT     1.00     major and two-digit minor: the window's credit line and
#                                      Pelmora.exe's version record
#   PELMORA_VERSION_NUMERIC   1,0,0,0  the numeric version record of Pelmora.exe
#   PELMORA_VERSION_QUAD      1.0.0.0  Pelmora.exe's manifest
#   PELMORA_RELEASE_EPOCH     the release date in seconds since 1970
#
# and writes ${PROJECT_BINARY_DIR}/generated/pelmora_version.h for the core and the
# resource script.

include_guard(GLOBAL)

# The minor version in two digits: 1.0 shows as "1.00", 1.12 as "1.12".
if(PROJECT_VERSION_MINOR GREATER 99)
  message(FATAL_ERROR "The minor version ${PROJECT_VERSION_MINOR} does not fit two digits")
elseif(PROJECT_VERSION_MINOR LESS 10)
  set(PELMORA_VERSION_SHORT "${PROJECT_VERSION_MAJOR}.0${PROJECT_VERSION_MINOR}")
else()
  set(PELMORA_VERSION_SHORT "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}")
endif()
set(PELMORA_VERSION_NUMERIC
    "${PROJECT_VERSION_MAJOR},${PROJECT_VERSION_MINOR},${PROJECT_VERSION_PATCH},0")
set(PELMORA_VERSION_QUAD
    "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH}.0")

# Noon UTC, so that the date reads the same in every time zone.
if(NOT PELMORA_RELEASE_DATE MATCHES "^[0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9]$")
  message(FATAL_ERROR "PELMORA_RELEASE_DATE '${PELMORA_RELEASE_DATE}' is not YYYY-MM-DD")
endif()
function(_pelmora_release_date out format)
  execute_process(COMMAND date -u -d "${PELMORA_RELEASE_DATE} 12:00:00 UTC" ${format}
                  OUTPUT_VARIABLE text OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
  set(${out} "${text}" PARENT_SCOPE)
endfunction()
_pelmora_release_date(PELMORA_RELEASE_EPOCH +%s)

configure_file(${CMAKE_CURRENT_LIST_DIR}/pelmora_version.h.in
               ${PROJECT_BINARY_DIR}/generated/pelmora_version.h @ONLY)
