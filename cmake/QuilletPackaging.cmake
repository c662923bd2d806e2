# Debian packages, one per install component (scripts/package.sh makes them):
#   libquillet0      the shared library
#   libquillet-dev   header, pkg-config file, CMake package
#   quillet          the command-line tool
#   python3-quillet  the Python package with quillet.dask
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quillet)
set(CPACK_PACKAGE_VENDOR "quillet developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "quillet developers")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL runtime development tool)
if(TARGET quillet_python)
  list(APPEND CPACK_COMPONENTS_ALL python)
endif()
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_LICENSE "AGPL-3.0-or-later")
set(CPACK_DEBIAN_PACKAGE_SECTION text)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "")
# Depends on the system's libraries come from dpkg-shlibdeps; it finds the
# project's own library in the staging tree, and the packages that hold it
# are named below.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS
  ${CMAKE_BINARY_DIR}/_CPack_Packages/Linux/DEB/quillet-${PROJECT_VERSION}-Linux/runtime${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_LIBDIR})
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_SHLIBDEPS OFF)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS_POLICY "=")
set(CPACK_DEBIAN_PYTHON_PACKAGE_GENERATE_SHLIBS OFF)  # an extension module, no library

set(QUILLET_RUNTIME_DEPENDS "libquillet0 (= ${PROJECT_VERSION})")

set(CPACK_DEBIAN_RUNTIME_PACKAGE_NAME libquillet0)
set(CPACK_DEBIAN_RUNTIME_PACKAGE_SECTION libs)
set(CPACK_DEBIAN_RUNTIME_DESCRIPTION "quillet document-to-text library
libquillet reads the text, and on request the pictures, of binary and
OOXML Word, Excel and PowerPoint documents, RTF and PDF.")

set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_NAME libquillet-dev)
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_DEPENDS "${QUILLET_RUNTIME_DEPENDS}, qtbase5-dev")
set(CPACK_DEBIAN_DEVELOPMENT_DESCRIPTION "quillet document-to-text library (development files)
The header, the pkg-config file and the CMake package (find_package(quillet))
for programs that call libquillet.")

set(CPACK_DEBIAN_TOOL_PACKAGE_NAME quillet)
set(CPACK_DEBIAN_TOOL_PACKAGE_DEPENDS "${QUILLET_RUNTIME_DEPENDS}")
set(CPACK_DEBIAN_TOOL_DESCRIPTION "plain text out of office documents, RTF and PDF
The quillet command prints a document's text, writes its text and pictures
into a folder, and converts whole folders in isolated worker processes.")

set(CPACK_DEBIAN_PYTHON_PACKAGE_NAME python3-quillet)
set(CPACK_DEBIAN_PYTHON_PACKAGE_SECTION python)
set(CPACK_DEBIAN_PYTHON_PACKAGE_DEPENDS "${QUILLET_RUNTIME_DEPENDS}, quillet (= ${PROJECT_VERSION}), ${QUILLET_PYTHON_DEPENDS}")
set(CPACK_DEBIAN_PYTHON_PACKAGE_RECOMMENDS "python3-dask, python3-distributed, python3-pandas")
set(CPACK_DEBIAN_PYTHON_DESCRIPTION "plain text out of office documents, RTF and PDF (Python)
The quillet module reads documents' text and writes their pictures;
quillet.dask converts many documents on a Dask cluster.")

include(CPack)
