# Runs the calendar generator and fails when its output differs from the
# committed data/calendar.csv.
execute_process(COMMAND ${PYTHON} ${GENERATOR} OUTPUT_FILE ${OUTPUT} RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${GENERATOR} failed")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${OUTPUT} ${CALENDAR} RESULT_VARIABLE differs)
if(NOT differs EQUAL 0)
  message(FATAL_ERROR "data/calendar.csv is not what tools/make_calendar.py writes; regenerate it")
endif()
