# Runs one fuzzer for SECONDS seconds on a scratch copy of its seed corpus.
file(MAKE_DIRECTORY ${WORK})
if(EXISTS ${SEED})
  file(GLOB seeds ${SEED}/*)
  if(seeds)
    file(COPY ${seeds} DESTINATION ${WORK})
  endif()
endif()
execute_process(COMMAND ${FUZZER} -max_total_time=${SECONDS} -seed=1 -print_final_stats=0 ${WORK}
  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "fuzzer failed (${rc}):\n${out}")
endif()
