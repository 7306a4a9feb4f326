# Runs a libFuzzer binary for a short while on a read-only corpus, writing new inputs elsewhere.
# The random start is fixed (libFuzzer's option below) so a test run explores the same
# inputs every time; longer runs from a random start are `make fuzz`'s.
file(MAKE_DIRECTORY ${SCRATCH})
execute_process(COMMAND ${FUZZER} -max_total_time=${SECONDS} -seed=1 -rss_limit_mb=2048 -max_len=65536
                        -timeout=10 -print_final_stats=1 ${SCRATCH} ${CORPUS}
                RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "fuzzer failed with ${rc}")
endif()
