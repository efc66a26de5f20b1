# The installed SDK as a CMake package, find_package(zarn <version> CONFIG), with the
# imported targets zarn::interface, zarn::string, zarn::debug_output, zarn::script_helper
# and zarn::host, and zarn_add_component; and as a pkg-config file, zarn.pc. Both find
# everything relative to where they lie, so that the prefix can be moved.
include(CMakePackageConfigHelpers)

set(zarn_package_dir "${CMAKE_INSTALL_LIBDIR}/cmake/zarn")
install(EXPORT zarnTargets NAMESPACE zarn:: DESTINATION ${zarn_package_dir})
configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/zarnConfig.cmake.in
    ${CMAKE_CURRENT_BINARY_DIR}/zarnConfig.cmake
    INSTALL_DESTINATION ${zarn_package_dir}
    PATH_VARS ZARN_INSTALL_COMPONENTSDIR)
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/zarnConfigVersion.cmake
    COMPATIBILITY SameMajorVersion)
install(FILES
    ${CMAKE_CURRENT_BINARY_DIR}/zarnConfig.cmake
    ${CMAKE_CURRENT_BINARY_DIR}/zarnConfigVersion.cmake
    ${CMAKE_CURRENT_LIST_DIR}/ZarnComponent.cmake
    ${CMAKE_CURRENT_LIST_DIR}/component_exports.map
    DESTINATION ${zarn_package_dir})

file(RELATIVE_PATH zarn_pc_to_prefix "/prefix/${CMAKE_INSTALL_LIBDIR}/pkgconfig" "/prefix")
configure_file(${CMAKE_CURRENT_LIST_DIR}/zarn.pc.in ${CMAKE_CURRENT_BINARY_DIR}/zarn.pc @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/zarn.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
