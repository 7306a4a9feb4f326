# Runs a libFuzzer binary for a short while on a read-only corpus, writing new inputs elsewhere.
# A test run starts from a fixed random state and stops after a fixed number of inputs,
# so it explores the same inputs on every machine, however fast; longer runs from a
# random start are `make fuzz`'s.
# Inputs a previous run added would change what this run explores: it starts empty.
file(REMOVE_RECURSE ${SCRATCH})
file(MAKE_DIRECTORY ${SCRATCH})
execute_process(COMMAND ${FUZZER} -runs=${RUNS} -seed=1 -rss_limit_mb=2048 -max_len=65536
                        -timeout=10 -print_final_stats=1 ${SCRATCH} ${CORPUS}
                RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "fuzzer failed with ${rc}")
endif()
