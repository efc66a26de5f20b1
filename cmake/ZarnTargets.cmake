# Settings that every target of the project shares, applied target by target.

# Warnings as errors: on in CI (CI=true in the environment), or when asked for.
if(DEFINED ENV{CI} AND "$ENV{CI}")
    set(zarn_werror_default ON)
else()
    set(zarn_werror_default OFF)
endif()
option(ZARN_WARNINGS_AS_ERRORS "Treat compiler warnings as errors" ${zarn_werror_default})

# Sanitizers for every target of the project, such as "address,undefined"; empty for none.
set(ZARN_SANITIZERS "" CACHE STRING "Sanitizers to build every target with (-fsanitize=...)")

# C++17 without compiler extensions, hidden symbols unless exported on purpose, the
# project's warnings, and its sanitizers. The options are the target's own (not linked in
# from a helper target), so that an installed target carries none of them.
function(zarn_target_defaults target)
    target_compile_features(${target} PUBLIC cxx_std_17)
    set_target_properties(${target} PROPERTIES
        CXX_EXTENSIONS OFF
        CXX_VISIBILITY_PRESET hidden
        VISIBILITY_INLINES_HIDDEN ON)
    if(MSVC)
        target_compile_options(${target} PRIVATE /W4 $<$<BOOL:${ZARN_WARNINGS_AS_ERRORS}>:/WX>)
    else()
        target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic
                               $<$<BOOL:${ZARN_WARNINGS_AS_ERRORS}>:-Werror>)
    endif()
    if(ZARN_SANITIZERS)
        target_compile_options(${target} PRIVATE
            -fsanitize=${ZARN_SANITIZERS} -fno-sanitize-recover=all -fno-omit-frame-pointer)
        get_target_property(type ${target} TYPE)
        if(NOT type STREQUAL "STATIC_LIBRARY" AND NOT type STREQUAL "OBJECT_LIBRARY")
            target_link_options(${target} PRIVATE -fsanitize=${ZARN_SANITIZERS})
        endif()
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
        $<BUILD_INTERFACE:${CMAKE_CURRENT_SOURCE_DIR}/include>
        $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}>)
    target_compile_definitions(${name} PRIVATE ${arg_BUILDING_DEFINE})
    # The SONAME carries the ABI's version: a module finds the library it was built for.
    set_target_properties(${name} PROPERTIES
        VERSION ${PROJECT_VERSION}
        SOVERSION ${PROJECT_VERSION_MAJOR})
    if(WIN32)
        set_target_properties(${name} PROPERTIES PREFIX "")
    endif()
endfunction()

# Component modules: the same function the installed SDK gives its users.
include(${CMAKE_CURRENT_LIST_DIR}/ZarnComponent.cmake)

# Where an installed component lies, relative to the prefix: <libdir>/zarn/components/
# <name>/, with its layout beside it. The installed zarn-host looks there by default.
set(ZARN_INSTALL_COMPONENTSDIR "${CMAKE_INSTALL_LIBDIR}/zarn/components")

# zarn_install_component(<name>)
# Installs a component module of this tree, with its layout, into the components folder;
# it finds the SDK's libraries relative to itself, wherever the prefix is moved.
function(zarn_install_component name)
    set(destination "${ZARN_INSTALL_COMPONENTSDIR}/${name}")
    file(RELATIVE_PATH to_libraries "/prefix/${destination}" "/prefix/${CMAKE_INSTALL_LIBDIR}")
    set_target_properties(${name} PROPERTIES INSTALL_RPATH "$ORIGIN;$ORIGIN/${to_libraries}")
    install(TARGETS ${name} LIBRARY DESTINATION ${destination} RUNTIME DESTINATION ${destination})
    get_target_property(layout ${name} ZARN_LAYOUT)
    if(layout)
        install(FILES ${layout} DESTINATION ${destination})
    endif()
endfunction()
