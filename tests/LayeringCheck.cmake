# Fails when a source folder includes a header from a folder it may not use.
# Arrows point down only: containers know no reader, readers know no api/,
# and within a subsystem a format's folder knows no other format's.
# An entry "x" allows the folder x itself, "x/*" also every folder under it.
# Run as: cmake -DSOURCE_DIR=<src> -P LayeringCheck.cmake
set(allowed_platform "")
set(allowed_output platform)
# Spreadsheet number formats, shared by the binary and the package reader.
set(allowed_numberformat platform)
set(allowed_plaintext platform)
set(allowed_compound platform)
# The package container: ByteSource at its root, then ZIP and XML side by
# side, and the relationships (OPC) over both.
set(allowed_package platform)
set(allowed_package/zip package platform)
set(allowed_package/xml package platform)
set(allowed_package/opc package package/zip package/xml platform)
# The package readers: the dispatch and shared steps at the root.
set(allowed_ooxml ooxml/* package/* output platform)
set(allowed_ooxml/docx ooxml package/* output platform)
set(allowed_ooxml/xlsx ooxml package/* numberformat output platform)
set(allowed_ooxml/pptx ooxml package/* output platform)
set(allowed_ooxml/drawing package/* output platform)
# The binary readers: the OLE dispatch at the root, the picture writer
# shared by all three formats.
set(allowed_legacy legacy/* compound output platform)
set(allowed_legacy/pictures compound output platform)
set(allowed_legacy/word legacy/pictures compound output platform)
set(allowed_legacy/excel legacy/pictures numberformat compound output platform)
# Presentations reach the drawing packages embedded in their shapes.
set(allowed_legacy/powerpoint legacy/pictures ooxml/drawing compound output platform)
set(allowed_rtf output platform)
set(allowed_pdf output platform)
set(allowed_api legacy/* ooxml/* rtf pdf plaintext compound package/* output platform)

function(allows folder target result)
  set(${result} FALSE PARENT_SCOPE)
  foreach(entry IN LISTS allowed_${folder})
    if(entry MATCHES "^(.*)/\\*$")
      set(base ${CMAKE_MATCH_1})
      if(target STREQUAL base OR target MATCHES "^${base}/")
        set(${result} TRUE PARENT_SCOPE)
      endif()
    elseif(target STREQUAL entry)
      set(${result} TRUE PARENT_SCOPE)
    endif()
  endforeach()
endfunction()

get_filename_component(SOURCE_DIR "${SOURCE_DIR}" ABSOLUTE)
set(failures "")
file(GLOB_RECURSE sources RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/*.h ${SOURCE_DIR}/*.cpp)
foreach(source IN LISTS sources)
  get_filename_component(folder ${source} DIRECTORY)
  if(NOT DEFINED allowed_${folder})
    list(APPEND failures "src/${folder}: a folder without a layering rule")
    continue()
  endif()
  file(STRINGS ${SOURCE_DIR}/${source} includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"[^\"]+/")
  foreach(line IN LISTS includes)
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"(.*)/[^/\"]+\".*" "\\1" target "${line}")
    if(target STREQUAL folder)
      continue()
    endif()
    allows(${folder} ${target} ok)
    if(NOT ok)
      list(APPEND failures "src/${source} includes ${target}/")
    endif()
  endforeach()
endforeach()
list(REMOVE_DUPLICATES failures)

if(failures)
  list(JOIN failures "\n  " text)
  message(FATAL_ERROR "layering broken:\n  ${text}")
endif()
