# Runs COMMAND (a ;-list) and fails unless it exits with STATUS (0 unless given) and its
# standard output (its standard error with -DSTREAM=errors) matches PATTERN: a test that a
# run ending otherwise cannot pass.
#   cmake "-DCOMMAND=<program>;<args>" -DPATTERN=<regex> [-DSTATUS=<n>] [-DSTREAM=errors]
#         -P expect_output.cmake
cmake_minimum_required(VERSION 3.25)
if(NOT DEFINED STATUS)
    set(STATUS 0)
endif()
execute_process(COMMAND ${COMMAND} OUTPUT_VARIABLE output ERROR_VARIABLE errors
                RESULT_VARIABLE status)
if(NOT status STREQUAL STATUS)
    message(FATAL_ERROR "${COMMAND} exited with ${status}, not ${STATUS}\n${output}${errors}")
endif()
if(STREAM STREQUAL "errors")
    set(output "${errors}")
endif()
if(NOT output MATCHES "${PATTERN}")
    message(FATAL_ERROR "the output of ${COMMAND} does not match ${PATTERN}:\n${output}")
endif()
