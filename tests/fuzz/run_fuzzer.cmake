# Fuzzes for SECONDS seconds on a fresh copy of the seed corpus, so the sources stay as
# committed. Any crash, sanitizer report, trap or hang fails the test; the input that did
# it is left in WORK as crash-* / timeout-* and can be replayed with the fuzzer binary.
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/corpus)
file(GLOB seeds ${CORPUS}/*)
file(COPY ${seeds} DESTINATION ${WORK}/corpus)

execute_process(
  COMMAND ${FUZZER}
    -max_total_time=${SECONDS}
    -rss_limit_mb=2048
    -timeout=10
    -max_len=4096
    -print_final_stats=1
    -artifact_prefix=${WORK}/
    ${WORK}/corpus
  RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  file(GLOB found ${WORK}/crash-* ${WORK}/timeout-* ${WORK}/oom-* ${WORK}/leak-*)
  message(FATAL_ERROR "the fuzzer failed (${result}); inputs kept: ${found}")
endif()
