# pelmora_scenario_tests(PREFIX FRONT RESULTS LABEL SESSION [COMMAND...]): one CTest test
# a scenario of the table (tests/support/scenarios.py) on one front end. The test SESSION
# runs COMMAND, a session that runs them in turn, each on a freshly started program, and
# writes a report for each into RESULTS; PREFIX_NAME then prints the report of scenario
# NAME as its verdict: passed, failed, or skipped and why. Without COMMAND the session is
# one an earlier call added, which writes more than one RESULTS.

# Python3_EXECUTABLE is Debian's own interpreter (the top CMakeLists.txt), which
# python3-pyatspi and python3-selenium install for.
set(PELMORA_SCENARIOS ${CMAKE_CURRENT_LIST_DIR}/run_scenarios.py)

function(pelmora_scenario_tests prefix front results label session)
  execute_process(COMMAND ${Python3_EXECUTABLE} ${PELMORA_SCENARIOS} ${front} --list
    OUTPUT_VARIABLE names OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
  string(REPLACE "\n" ";" names "${names}")
  if(ARGN)
    add_test(NAME ${session} COMMAND ${ARGN})
    set_tests_properties(${session} PROPERTIES FIXTURES_SETUP ${session} LABELS ${label}
      ENVIRONMENT PYTHONDONTWRITEBYTECODE=1 TIMEOUT 3600 RUN_SERIAL ON SKIP_RETURN_CODE 77)
  endif()
  foreach(name IN LISTS names)
    add_test(NAME ${prefix}_${name}
      COMMAND ${Python3_EXECUTABLE} ${PELMORA_SCENARIOS} --report ${results} ${name})
    set_tests_properties(${prefix}_${name} PROPERTIES FIXTURES_REQUIRED ${session}
      LABELS ${label} SKIP_RETURN_CODE 77)
  endforeach()
  # Re-list when the table changes.
  file(GLOB tables CONFIGURE_DEPENDS ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/*.py)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${tables})
endfunction()
