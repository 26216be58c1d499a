# Runs kavero-cli and checks its exit status, its standard output byte for byte against a
# file (or empty), and its standard error against a regular expression.
#   cmake -DCLI=… -DTESTDATA=… -DFIXTURES=… -DARGS="a|b" -DSTATUS=0 -DOUTPUT_FILE=… [-DSTDOUT_FILE=…] [-DSTDERR_REGEX=…] -P this
# Standard output goes through OUTPUT_FILE and is compared in hexadecimal, so a lone carriage
# return counts like any other byte.
if(NOT IS_DIRECTORY "${TESTDATA}")
  message("SKIP: no testdata at ${TESTDATA}")
  return()
endif()
string(REPLACE "<testdata>" "${TESTDATA}" ARGS "${ARGS}")
string(REPLACE "<fixtures>" "${FIXTURES}" ARGS "${ARGS}")
string(REPLACE "|" ";" ARGS "${ARGS}")
execute_process(COMMAND "${CLI}" ${ARGS} RESULT_VARIABLE status OUTPUT_FILE "${OUTPUT_FILE}" ERROR_VARIABLE err)
if(NOT status STREQUAL STATUS)
  message(FATAL_ERROR "exit status ${status}, expected ${STATUS}; stderr:\n${err}")
endif()
set(expected "")
if(STDOUT_FILE)
  file(READ "${STDOUT_FILE}" expected HEX)
endif()
file(READ "${OUTPUT_FILE}" out HEX)
if(NOT out STREQUAL expected)
  message(FATAL_ERROR "standard output differs (hexadecimal).\nGot:      ${out}\nExpected: ${expected}")
endif()
if(DEFINED STDERR_REGEX AND NOT err MATCHES "${STDERR_REGEX}")
  message(FATAL_ERROR "standard error does not match ${STDERR_REGEX}:\n${err}")
endif()
