# A test whose tool is missing: skipped on a developer's machine, failed under CI, where
# the project's own package lists must have installed it.
if(DEFINED ENV{CI} AND NOT "$ENV{CI}" STREQUAL "")
  message(FATAL_ERROR "missing under CI: ${WHAT}")
endif()
message("${MARK}: ${WHAT} not found; skipped")
