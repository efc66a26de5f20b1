# Runs COMMAND (a ;-list) and fails unless it exits with 0 and its standard output
# matches PATTERN: a test that a failing run cannot pass.
#   cmake "-DCOMMAND=<program>;<args>" -DPATTERN=<regex> -P expect_output.cmake
execute_process(COMMAND ${COMMAND} OUTPUT_VARIABLE output ERROR_VARIABLE errors
                RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "${COMMAND} exited with ${status}\n${output}${errors}")
endif()
if(NOT output MATCHES "${PATTERN}")
    message(FATAL_ERROR "the output of ${COMMAND} does not match ${PATTERN}:\n${output}")
endif()
