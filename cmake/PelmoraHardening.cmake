# Hardening. The Linux program is built with the flags Debian's own packages get, as
# dpkg-buildflags gives them for DEB_BUILD_MAINT_OPTIONS=hardening=+all (stack protector,
# _FORTIFY_SOURCE, full RELRO with BIND_NOW; PIE is the compiler's default). Pelmora.exe
# gets the stack protector, whose runtime (libssp) mingw-w64 links statically.
#
# The sanitizer build keeps its own flags (ASan does its own checking), and so does a debug
# build, since _FORTIFY_SOURCE needs an optimised one.

include_guard(GLOBAL)

if(WIN32)
  add_compile_options($<$<COMPILE_LANGUAGE:CXX>:-fstack-protector-strong>)
  add_link_options(-fstack-protector-strong)
  return()
endif()

set(_harden_default OFF)
if(NOT PELMORA_SANITIZE AND NOT CMAKE_BUILD_TYPE STREQUAL "Debug")
  set(_harden_default ON)
endif()
option(PELMORA_HARDEN "Build with Debian's hardening flags (dpkg-buildflags)" ${_harden_default})
if(NOT PELMORA_HARDEN)
  return()
endif()

find_program(PELMORA_DPKG_BUILDFLAGS dpkg-buildflags REQUIRED)
# A clean environment, so that no one's personal settings reach the flags. The build type
# already chooses optimisation and debug information, and cmake/PelmoraReproducible.cmake
# maps the source path for every build: those parts of dpkg's defaults are left out.
set(_query env -i "PATH=$ENV{PATH}"
    "DEB_BUILD_MAINT_OPTIONS=hardening=+all reproducible=-fixfilepath,-fixdebugpath"
    "DEB_CXXFLAGS_MAINT_STRIP=-g -O2"
    ${PELMORA_DPKG_BUILDFLAGS} --get)
foreach(_kind IN ITEMS CPPFLAGS CXXFLAGS LDFLAGS)
  execute_process(COMMAND ${_query} ${_kind} OUTPUT_VARIABLE _flags
                  OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
  message(STATUS "Hardening ${_kind} (dpkg-buildflags): ${_flags}")
  separate_arguments(_flags UNIX_COMMAND "${_flags}")
  if(_kind STREQUAL "LDFLAGS")
    add_link_options(${_flags})
  else()
    add_compile_options(${_flags})
  endif()
endforeach()
