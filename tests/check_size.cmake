# Fails when EXE, stripped, is larger than LIMIT bytes: the launcher must stay small enough to
# copy beside every application without a second thought.
file(COPY_FILE ${EXE} ${COPY} ONLY_IF_DIFFERENT)
execute_process(COMMAND ${STRIP} ${COPY} RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "${STRIP} failed on ${COPY}")
endif()
file(SIZE ${COPY} size)
if(size GREATER LIMIT)
  message(FATAL_ERROR "${EXE} is ${size} bytes stripped, over the budget of ${LIMIT}")
endif()
message(STATUS "${size} bytes stripped, budget ${LIMIT}")
