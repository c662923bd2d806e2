# Warnings and sanitizers shared by every target of the project.
add_compile_options(-Wall -Wextra)
if(QUILLET_WERROR)
  add_compile_options(-Werror)
endif()
# A library linked but not used would still be loaded at every process start.
add_link_options(LINKER:--as-needed)

if(QUILLET_SANITIZE)
  # Any sanitizer finding must fail the run, so nothing is recoverable.
  set(QUILLET_SANITIZER_FLAGS -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_compile_options(${QUILLET_SANITIZER_FLAGS})
  add_link_options(${QUILLET_SANITIZER_FLAGS})
endif()

if(QUILLET_BUILD_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "QUILLET_BUILD_FUZZ needs clang (CC=clang CXX=clang++)")
  endif()
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()
