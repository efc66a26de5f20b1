# zarn_add_component(<name> SOURCES <files...> [LAYOUT <file>])
#
# A loadable component module for a zarn panel host: <name>.so (<name>.dll on Windows),
# with no "lib" prefix, built with hidden symbols and exporting only its factory
# load_zarn_client_script, linked against zarn::script_helper, finding the shared
# libraries it imports beside it ($ORIGIN) or where they were when it was built, and with
# its layout file, if any, copied beside it. Its code is also the object library
# <name>_objects, for programs that link the component in (fuzzers, tests).
#
# This file serves the project's own tree and the installed SDK alike
# (find_package(zarn CONFIG) includes it).
function(zarn_add_component name)
    cmake_parse_arguments(PARSE_ARGV 1 arg "" "LAYOUT" "SOURCES")
    # Found beside this file, whichever project's scope the function is called from.
    set(zarn_component_exports_map "${CMAKE_CURRENT_FUNCTION_LIST_DIR}/component_exports.map")
    if(NOT arg_SOURCES)
        message(FATAL_ERROR "zarn_add_component(${name}): SOURCES is missing")
    endif()
    add_library(${name}_objects OBJECT ${arg_SOURCES})
    add_library(${name} MODULE $<TARGET_OBJECTS:${name}_objects>)
    foreach(target ${name}_objects ${name})
        target_compile_features(${target} PUBLIC cxx_std_17)
        set_target_properties(${target} PROPERTIES
            CXX_EXTENSIONS OFF
            CXX_VISIBILITY_PRESET hidden
            VISIBILITY_INLINES_HIDDEN ON
            POSITION_INDEPENDENT_CODE ON)
        # In the project's own tree: its warnings and sanitizers too.
        if(COMMAND zarn_target_defaults)
            zarn_target_defaults(${target})
        endif()
    endforeach()
    target_include_directories(${name}_objects PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
    target_link_libraries(${name}_objects PUBLIC zarn::script_helper)
    target_link_libraries(${name} PRIVATE zarn::script_helper)
    set_target_properties(${name} PROPERTIES
        PREFIX ""
        BUILD_RPATH "$ORIGIN"
        INSTALL_RPATH "$ORIGIN")
    if(NOT WIN32 AND NOT APPLE)
        target_link_options(${name} PRIVATE
            "LINKER:--version-script=${zarn_component_exports_map}")
        set_property(TARGET ${name} APPEND PROPERTY LINK_DEPENDS ${zarn_component_exports_map})
        # Every symbol resolved at link time; a sanitizer runtime, though, may come from
        # the program that loads the module.
        if(NOT ZARN_SANITIZERS)
            target_link_options(${name} PRIVATE "LINKER:--no-undefined")
        endif()
    endif()
    if(arg_LAYOUT)
        get_filename_component(layout_name ${arg_LAYOUT} NAME)
        get_filename_component(layout_path ${arg_LAYOUT} ABSOLUTE)
        add_custom_command(TARGET ${name} POST_BUILD
            COMMAND ${CMAKE_COMMAND} -E copy_if_different ${layout_path}
                    $<TARGET_FILE_DIR:${name}>/${layout_name}
            COMMENT "Placing ${layout_name} beside ${name}")
        set_property(TARGET ${name} PROPERTY ZARN_LAYOUT ${layout_path})
    endif()
endfunction()
