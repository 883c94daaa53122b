# Fuzzes for SECONDS seconds on a fresh copy of the seed corpus, so the sources stay as
# committed. A crash, sanitizer report, trap or hang fails the test and leaves its input in
# WORK as crash-* / timeout-*, to be replayed with the fuzzer binary.
file(REMOVE_RECURSE ${WORK})
file(COPY ${CORPUS}/ DESTINATION ${WORK}/corpus)
execute_process(
  COMMAND ${FUZZER} -max_total_time=${SECONDS} -rss_limit_mb=2048 -timeout=10 -max_len=4096
    -print_final_stats=1 -artifact_prefix=${WORK}/ ${WORK}/corpus
  RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  file(GLOB found ${WORK}/crash-* ${WORK}/timeout-* ${WORK}/oom-* ${WORK}/leak-*)
  message(FATAL_ERROR "the fuzzer failed (${result}); inputs kept: ${found}")
endif()
