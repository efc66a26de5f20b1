# zarn-host new, from its command line: a project is written whole, and bad input (a name
# that is no identifier, a folder that is not empty, a place that cannot be written) is
# exit 2 with nothing written.
#   cmake -DHOST=<zarn-host> -DWORK=<scratch folder> -P new_component.cmake
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/full)
file(WRITE ${WORK}/full/keep.txt "the user's")

function(expect_refused why)
    execute_process(COMMAND ${HOST} new ${ARGN} RESULT_VARIABLE status
                    OUTPUT_VARIABLE out ERROR_VARIABLE err)
    if(NOT status EQUAL 2)
        message(FATAL_ERROR "zarn-host new ${ARGN} (${why}) exited with ${status}, not 2\n${out}${err}")
    endif()
    if(NOT err MATCHES "nothing was written")
        message(FATAL_ERROR "zarn-host new ${ARGN} (${why}) said: ${err}")
    endif()
endfunction()

expect_refused("no identifier" 9lives ${WORK}/nine)
expect_refused("a keyword" class ${WORK}/class)
expect_refused("a blank" "two words" ${WORK}/two)
expect_refused("not empty" hello ${WORK}/full)
expect_refused("cannot be written" hello /proc/zarn_new_component)
file(GLOB left RELATIVE ${WORK} ${WORK}/* ${WORK}/.*)
if(NOT left STREQUAL "full")
    message(FATAL_ERROR "bad input left [${left}] behind")
endif()
file(READ ${WORK}/full/keep.txt kept)
if(NOT kept STREQUAL "the user's")
    message(FATAL_ERROR "a folder that was not empty was changed")
endif()

# An empty folder is taken; every file is there.
file(MAKE_DIRECTORY ${WORK}/empty)
execute_process(COMMAND ${HOST} new hello ${WORK}/empty RESULT_VARIABLE status)
foreach(file CMakeLists.txt hello.cpp hello.zarn_ui tests/hello.scenario README.md)
    if(NOT status EQUAL 0 OR NOT EXISTS ${WORK}/empty/${file})
        message(FATAL_ERROR "zarn-host new hello (${status}) did not write ${file}")
    endif()
endforeach()
file(REMOVE_RECURSE ${WORK})
