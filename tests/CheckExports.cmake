# Fails unless the library's defined dynamic symbols are exactly EXPECTED
# (a ;-list; by default the five entry points), plus the linker's version
# node, which nm may list.
execute_process(COMMAND nm -D --defined-only ${LIBRARY}
  OUTPUT_VARIABLE symbols RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "nm failed on ${LIBRARY}")
endif()
string(REGEX MATCHALL "[^\n]+" lines "${symbols}")
set(found "")
foreach(line IN LISTS lines)
  string(REGEX REPLACE "^[0-9a-fA-F]* *[A-Za-z] " "" name "${line}")
  # Sanitizer runtimes export their interceptors from instrumented objects.
  if(name MATCHES "^(__asan|__ubsan|__sanitizer|__lsan|___interceptor|__interceptor|_init$|_fini$)")
    continue()
  endif()
  list(APPEND found "${name}")
endforeach()
list(SORT found)
if(DEFINED EXPECTED)
  set(expected ${EXPECTED})
else()
  set(expected export2Txt getFileFormate quilletDestory quilletGetFileContent quilletInitialize)
endif()
list(SORT expected)
if(NOT found STREQUAL expected)
  message(FATAL_ERROR "unexpected exports: ${found}")
endif()
message(STATUS "exports: ${found}")
