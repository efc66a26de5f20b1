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

# Sanitizers for every target of the project, such as "address,undefined"; empty for none.
set(ZARN_SANITIZERS "" CACHE STRING "Sanitizers to build every target with (-fsanitize=...)")
add_library(zarn_sanitizers INTERFACE)
if(ZARN_SANITIZERS)
    target_compile_options(zarn_sanitizers INTERFACE
        -fsanitize=${ZARN_SANITIZERS} -fno-sanitize-recover=all -fno-omit-frame-pointer)
    target_link_options(zarn_sanitizers INTERFACE -fsanitize=${ZARN_SANITIZERS})
endif()

# C++17 without compiler extensions, hidden symbols unless exported on purpose, the
# project's warnings, and its sanitizers.
function(zarn_target_defaults target)
    target_compile_features(${target} PUBLIC cxx_std_17)
    set_target_properties(${target} PROPERTIES
        CXX_EXTENSIONS OFF
        CXX_VISIBILITY_PRESET hidden
        VISIBILITY_INLINES_HIDDEN ON)
    target_link_libraries(${target} PRIVATE zarn_warnings zarn_sanitizers)
endfunction()

# zarn_add_component(<name> SOURCES <files...> [LAYOUT <file>])
# A loadable component module: <name>.so (<name>.dll on Windows), with no "lib" prefix,
# exporting only load_zarn_client_script, finding the shared libraries it imports beside
# it or in the build tree, and with its layout file, if any, copied beside it. Its code is
# also the object library <name>_objects, for programs that link a component in (fuzzers).
set(ZARN_COMPONENT_EXPORTS ${CMAKE_CURRENT_LIST_DIR}/component_exports.map)
function(zarn_add_component name)
    cmake_parse_arguments(PARSE_ARGV 1 arg "" "LAYOUT" "SOURCES")
    add_library(${name}_objects OBJECT ${arg_SOURCES})
    zarn_target_defaults(${name}_objects)
    set_target_properties(${name}_objects PROPERTIES POSITION_INDEPENDENT_CODE ON)
    target_include_directories(${name}_objects PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
    target_link_libraries(${name}_objects PUBLIC zarn_script_helper)

    add_library(${name} MODULE $<TARGET_OBJECTS:${name}_objects>)
    zarn_target_defaults(${name})
    target_link_libraries(${name} PRIVATE zarn_script_helper)
    set_target_properties(${name} PROPERTIES
        PREFIX ""
        BUILD_RPATH "$ORIGIN"
        INSTALL_RPATH "$ORIGIN")
    if(NOT WIN32 AND NOT APPLE)
        target_link_options(${name} PRIVATE "LINKER:--version-script=${ZARN_COMPONENT_EXPORTS}")
        set_property(TARGET ${name} APPEND PROPERTY LINK_DEPENDS ${ZARN_COMPONENT_EXPORTS})
        # Every symbol resolved at link time; a sanitizer runtime, though, may come
        # from the program that loads the module.
        if(NOT ZARN_SANITIZERS)
            target_link_options(${name} PRIVATE "LINKER:--no-undefined")
        endif()
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

# zarn_add_shared_library(<name> BUILDING_DEFINE <macro> SOURCES <files...>)
# A shared library of the platform's (the string library, the debug output) with its
# public headers in include/, <macro> defined while it is built (for its export macro), a
# versioned SONAME (lib<name>.so.<major>), and no "lib" prefix on Windows, where
# everybody looks for <name>.dll.
function(zarn_add_shared_library name)
    cmake_parse_arguments(PARSE_ARGV 1 arg "" "BUILDING_DEFINE" "SOURCES")
    add_library(${name} SHARED ${arg_SOURCES})
    zarn_target_defaults(${name})
    target_include_directories(${name} PUBLIC
        $<BUILD_INTERFACE:${CMAKE_CURRENT_SOURCE_DIR}/include>)
    target_compile_definitions(${name} PRIVATE ${arg_BUILDING_DEFINE})
    # The SONAME carries the ABI's version: a module finds the library it was built for.
    set_target_properties(${name} PROPERTIES
        VERSION ${PROJECT_VERSION}
        SOVERSION ${PROJECT_VERSION_MAJOR})
    if(WIN32)
        set_target_properties(${name} PROPERTIES PREFIX "")
    endif()
endfunction()
