# Same source, same bytes: the release files (the .deb, Pelmora.exe and the ZIPs) do not
# depend on where, when, by whom or under which umask they are built, so anyone can rebuild
# a download and compare (reproducible-builds.org; scripts/check-reproducible.sh checks it).
#
# Sets PELMORA_SOURCE_DATE_EPOCH, the one time a build carries (Pelmora.exe's link time):
#   1. SOURCE_DATE_EPOCH from the environment, as dpkg-buildpackage and
#      scripts/build-release-files.sh set it from debian/changelog;
#   2. else the time of the commit being built, when the source is a git checkout;
#   3. else noon UTC of the release date.
# The rest of the build takes no time stamps at all.

include_guard(GLOBAL)

if(DEFINED ENV{SOURCE_DATE_EPOCH})
  set(PELMORA_SOURCE_DATE_EPOCH "$ENV{SOURCE_DATE_EPOCH}")
  set(_epoch_from "the environment")
else()
  set(PELMORA_SOURCE_DATE_EPOCH "${PELMORA_RELEASE_EPOCH}")
  set(_epoch_from "the release date")
  find_package(Git QUIET)
  if(GIT_FOUND)
    # Only this project's own repository counts, not one that happens to hold the tree.
    execute_process(COMMAND ${GIT_EXECUTABLE} rev-parse --show-toplevel
                    WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
                    OUTPUT_VARIABLE _top OUTPUT_STRIP_TRAILING_WHITESPACE
                    RESULT_VARIABLE _rc ERROR_QUIET)
    file(REAL_PATH "${PROJECT_SOURCE_DIR}" _source)
    if(_rc EQUAL 0 AND _top STREQUAL _source)
      execute_process(COMMAND ${GIT_EXECUTABLE} log -1 --format=%ct
                      WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
                      OUTPUT_VARIABLE PELMORA_SOURCE_DATE_EPOCH
                      OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
      set(_epoch_from "the commit")
      # A new commit or checkout moves HEAD's log: configure again, so the time follows it.
      execute_process(COMMAND ${GIT_EXECUTABLE} rev-parse --path-format=absolute
                              --git-path HEAD --git-path logs/HEAD
                      WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
                      OUTPUT_VARIABLE _git_files OUTPUT_STRIP_TRAILING_WHITESPACE)
      string(REPLACE "\n" ";" _git_files "${_git_files}")
      foreach(_file IN LISTS _git_files)
        if(EXISTS "${_file}")
          set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${_file}")
        endif()
      endforeach()
    endif()
  endif()
endif()
if(NOT PELMORA_SOURCE_DATE_EPOCH MATCHES "^[0-9]+$")
  message(FATAL_ERROR "SOURCE_DATE_EPOCH '${PELMORA_SOURCE_DATE_EPOCH}' is not a number of seconds")
endif()
message(STATUS "SOURCE_DATE_EPOCH ${PELMORA_SOURCE_DATE_EPOCH}, from ${_epoch_from}")

# Paths of the build machine stay out of the objects (__FILE__, debug information); a debug
# build keeps them so that a debugger finds the sources.
set(_maps "${PROJECT_SOURCE_DIR}=.")
cmake_path(IS_PREFIX PROJECT_SOURCE_DIR "${PROJECT_BINARY_DIR}" NORMALIZE _binary_inside)
if(NOT _binary_inside)
  list(APPEND _maps "${PROJECT_BINARY_DIR}=build")
endif()
foreach(_map IN LISTS _maps)
  add_compile_options("$<$<AND:$<COMPILE_LANGUAGE:CXX>,$<NOT:$<CONFIG:Debug>>>:-ffile-prefix-map=${_map}>")
endforeach()

# ld stamps a PE header with the time of linking unless SOURCE_DATE_EPOCH names another.
if(WIN32)
  set(CMAKE_CXX_LINKER_LAUNCHER
      ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=${PELMORA_SOURCE_DATE_EPOCH})
endif()
