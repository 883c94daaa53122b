# Tests whose cases a Python runner lists itself: the runner prints one case a line for
# `--list`, and each case becomes a test that runs `RUNNER ARGS... CASE`, so ctest shows,
# times and reruns every case on its own.
#
#   pelmora_add_listed_tests(RUNNER script.py PREFIX e2e_ LABEL e2e TIMEOUT 180
#                            [ARGS arg...] [WATCH file...])
#
# Each test is named PREFIX<case>, carries LABEL and TIMEOUT, and counts exit 77 as
# skipped. The list is read at configure time; the runner and each WATCH file, when they
# change, make CMake configure again and read it anew.

include_guard(GLOBAL)

function(pelmora_add_listed_tests)
  cmake_parse_arguments(PARSE_ARGV 0 arg "" "RUNNER;PREFIX;LABEL;TIMEOUT" "ARGS;WATCH")
  execute_process(COMMAND ${Python3_EXECUTABLE} ${arg_RUNNER} --list
    OUTPUT_VARIABLE cases OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
  string(REPLACE "\n" ";" cases "${cases}")
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${arg_RUNNER} ${arg_WATCH})
  foreach(name IN LISTS cases)
    add_test(NAME ${arg_PREFIX}${name} COMMAND ${Python3_EXECUTABLE} ${arg_RUNNER} ${arg_ARGS} ${name})
    set_tests_properties(${arg_PREFIX}${name} PROPERTIES LABELS ${arg_LABEL} TIMEOUT ${arg_TIMEOUT}
      SKIP_RETURN_CODE 77 ENVIRONMENT PYTHONDONTWRITEBYTECODE=1)
  endforeach()
endfunction()
