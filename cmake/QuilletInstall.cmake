# What `cmake --install` lays out besides the targets' own files: the
# pkg-config file and the CMake package of the library, in the development
# component. Every path is relative to the install prefix, so --prefix and
# DESTDIR move them all.
include(CMakePackageConfigHelpers)

set(QUILLET_PC_DIR ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
file(RELATIVE_PATH QUILLET_PC_TO_PREFIX /prefix/${QUILLET_PC_DIR} /prefix)
string(REGEX REPLACE "/$" "" QUILLET_PC_TO_PREFIX "${QUILLET_PC_TO_PREFIX}")
configure_file(${PROJECT_SOURCE_DIR}/cmake/quillet.pc.in ${PROJECT_BINARY_DIR}/quillet.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/quillet.pc DESTINATION ${QUILLET_PC_DIR} COMPONENT development)

set(QUILLET_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/quillet)
install(EXPORT quilletTargets NAMESPACE quillet:: DESTINATION ${QUILLET_CMAKE_DIR} COMPONENT development)
configure_file(${PROJECT_SOURCE_DIR}/cmake/quilletConfig.cmake.in ${PROJECT_BINARY_DIR}/quilletConfig.cmake @ONLY)
write_basic_package_version_file(${PROJECT_BINARY_DIR}/quilletConfigVersion.cmake COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/quilletConfig.cmake ${PROJECT_BINARY_DIR}/quilletConfigVersion.cmake
  DESTINATION ${QUILLET_CMAKE_DIR} COMPONENT development)

# The relative run path from an installed folder to the library's.
function(quillet_rpath_to_library from result)
  file(RELATIVE_PATH relative /prefix/${from} /prefix/${CMAKE_INSTALL_LIBDIR})
  set(${result} "$ORIGIN/${relative}" PARENT_SCOPE)
endfunction()
