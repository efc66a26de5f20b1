# Settings that every target of the project shares, applied target by target.

# Warnings as errors: on in CI (CI=true in the environment), or when asked for.
if(DEFINED ENV{CI} AND "$ENV{CI}")
    set(zarn_werror_default ON)
else()
    set(zarn_werror_default OFF)
endif()
option(ZARN_WARNINGS_AS_ERRORS "Treat compiler warnings as errors" ${zarn_werror_default})

add_library(zarn_warnings INTERFACE)
if(MSVC)
    target_compile_options(zarn_warnings INTERFACE /W4 $<$<BOOL:${ZARN_WARNINGS_AS_ERRORS}>:/WX>)
else()
    target_compile_options(zarn_warnings INTERFACE -Wall -Wextra -Wpedantic
                           $<$<BOOL:${ZARN_WARNINGS_AS_ERRORS}>:-Werror>)
endif()

# C++17 without compiler extensions, hidden symbols unless exported on purpose, and
# the project's warnings.
function(zarn_target_defaults target)
    target_compile_features(${target} PUBLIC cxx_std_17)
    set_target_properties(${target} PROPERTIES
        CXX_EXTENSIONS OFF
        CXX_VISIBILITY_PRESET hidden
        VISIBILITY_INLINES_HIDDEN ON)
    target_link_libraries(${target} PRIVATE zarn_warnings)
endfunction()

# zarn_add_component(<name> SOURCES <files...> [LAYOUT <file>])
# A loadable component module: <name>.so (<name>.dll on Windows), with no "lib" prefix,
# exporting only load_zarn_client_script, finding the shared libraries it imports beside
# it or in the build tree, and with its layout file, if any, copied beside it.
set(ZARN_COMPONENT_EXPORTS ${CMAKE_CURRENT_LIST_DIR}/component_exports.map)
function(zarn_add_component name)
    cmake_parse_arguments(PARSE_ARGV 1 arg "" "LAYOUT" "SOURCES")
    add_library(${name} MODULE ${arg_SOURCES})
    zarn_target_defaults(${name})
    target_link_libraries(${name} PRIVATE zarn_script_helper)
    set_target_properties(${name} PROPERTIES
        PREFIX ""
        BUILD_RPATH "$ORIGIN"
        INSTALL_RPATH "$ORIGIN")
    if(NOT WIN32 AND NOT APPLE)
        target_link_options(${name} PRIVATE
            "LINKER:--version-script=${ZARN_COMPONENT_EXPORTS}" "LINKER:--no-undefined")
        set_property(TARGET ${name} APPEND PROPERTY LINK_DEPENDS ${ZARN_COMPONENT_EXPORTS})
    endif()
    if(arg_LAYOUT)
        get_filename_component(layout_name ${arg_LAYOUT} NAME)
        add_custom_command(TARGET ${name} POST_BUILD
            COMMAND ${CMAKE_COMMAND} -E copy_if_different
                    ${CMAKE_CURRENT_SOURCE_DIR}/${arg_LAYOUT}
                    $<TARGET_FILE_DIR:${name}>/${layout_name}
            COMMENT "Placing ${layout_name} beside ${name}")
    endif()
endfunction()
