# Fails unless the dynamic symbol table of MODULE defines exactly EXPECTED.
#   cmake -DMODULE=<file> -DEXPECTED=<symbol> -P check_exports.cmake
find_program(NM nm REQUIRED)
execute_process(COMMAND ${NM} -D --defined-only --format=posix ${MODULE}
                OUTPUT_VARIABLE listing RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "nm could not read ${MODULE}")
endif()
string(REGEX MATCHALL "[^\n]+" lines "${listing}")
set(symbols "")
foreach(line IN LISTS lines)
    string(REGEX REPLACE " .*" "" symbol "${line}")
    list(APPEND symbols ${symbol})
endforeach()
if(NOT symbols STREQUAL EXPECTED)
    message(FATAL_ERROR "${MODULE} exports [${symbols}], expected only [${EXPECTED}]")
endif()
message(STATUS "${MODULE} exports only ${EXPECTED}")
