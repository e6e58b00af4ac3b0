# cmake -DICONV=... -DINPUT=atlas.txt -DOUTPUT=atlas.ini -P make_atlas.cmake
# The city list in the form the program reads: Windows-1251, CR LF line ends.
get_filename_component(directory ${OUTPUT} DIRECTORY)
file(MAKE_DIRECTORY ${directory})
file(READ ${INPUT} text)
string(REPLACE "\r\n" "\n" text "${text}")
string(REPLACE "\n" "\r\n" text "${text}")
set(crlf ${OUTPUT}.utf8)
file(WRITE ${crlf} "${text}")
execute_process(
  COMMAND ${ICONV} -f UTF-8 -t CP1251 ${crlf}
  OUTPUT_FILE ${OUTPUT}.tmp
  RESULT_VARIABLE status)
file(REMOVE ${crlf})
if(NOT status EQUAL 0)
  file(REMOVE ${OUTPUT}.tmp)
  message(FATAL_ERROR "iconv could not convert ${INPUT} to Windows-1251")
endif()
file(RENAME ${OUTPUT}.tmp ${OUTPUT})
