# Runs zarn-host on crash.scenario, whose module crashes the host, and fails unless the
# host died and the transcript it wrote up to the crash is all there.
#   cmake -DHOST=<zarn-host> -DCRASHER=<crasher module> -DSCENARIO=<file> -P expect_crash.cmake
execute_process(COMMAND ${HOST} --define crasher=${CRASHER} ${SCENARIO}
                OUTPUT_VARIABLE output ERROR_VARIABLE errors RESULT_VARIABLE status)
if(status MATCHES "^[0-2]$")
    message(FATAL_ERROR "zarn-host exited with ${status}; the module should have crashed it\n"
                        "${output}${errors}")
endif()
foreach(line "== send c hello" "host > c           3 parent     hello" "== send c crash"
             "host > c           3 parent     crash")
    string(FIND "${output}" "${line}" at)
    if(at EQUAL -1)
        message(FATAL_ERROR "the transcript lost \"${line}\" in the crash (${status}):\n${output}")
    endif()
endforeach()
string(FIND "${output}" "never" at)
if(NOT at EQUAL -1)
    message(FATAL_ERROR "the host went on after the crash:\n${output}")
endif()
message(STATUS "zarn-host died (${status}) with its transcript whole")
