# Runs zarn-host check on one module and fails unless exactly the tests in FAILING fail
# (failed, crashed or timed out) and the exit status is STATUS.
#   cmake -DHOST=<zarn-host> -DMODULE=<module> "-DFAILING=<test>;<test>" -DSTATUS=<n>
#         [-DLEVEL=<n>] -P check_module.cmake
if(NOT DEFINED LEVEL)
    set(LEVEL 5)
endif()
execute_process(COMMAND ${HOST} check ${MODULE} --json --seed 1 --level ${LEVEL}
                        --timeout-ms 2000
                OUTPUT_VARIABLE output ERROR_VARIABLE errors RESULT_VARIABLE status)
string(REGEX MATCHALL "\"test\":\"[^\"]+\",\"outcome\":\"(FAIL|CRASH|TIMEOUT)\"" lines "${output}")
set(failed "")
foreach(line IN LISTS lines)
    string(REGEX REPLACE "\"test\":\"([^\"]+)\".*" "\\1" name "${line}")
    list(APPEND failed ${name})
endforeach()
list(SORT failed)
set(expected ${FAILING})
list(SORT expected)
if(NOT "${failed}" STREQUAL "${expected}")
    message(FATAL_ERROR "zarn-host check ${MODULE}: [${failed}] failed, not [${expected}]\n${output}${errors}")
endif()
if(NOT status STREQUAL STATUS)
    message(FATAL_ERROR "zarn-host check ${MODULE} exited with ${status}, not ${STATUS}\n${output}")
endif()
string(FIND "${output}" "\"type\":\"summary\"" at)
if(at EQUAL -1)
    message(FATAL_ERROR "zarn-host check ${MODULE} wrote no summary\n${output}")
endif()
message(STATUS "zarn-host check ${MODULE}: [${failed}] failed, exit ${status}")
