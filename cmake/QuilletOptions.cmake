# Warnings and sanitizers shared by every target of the project.
add_compile_options(-Wall -Wextra)
if(QUILLET_WERROR)
  add_compile_options(-Werror)
endif()
# A library linked but not used would still be loaded at every process start.
add_link_options(LINKER:--as-needed)
# Relative relocations packed into a bitmap: a smaller table for the loader to
# read and apply at every process start (binutils 2.38 and glibc 2.36 on).
include(CheckLinkerFlag)
check_linker_flag(CXX "LINKER:-z,pack-relative-relocs" QUILLET_HAVE_PACKED_RELOCATIONS)
if(QUILLET_HAVE_PACKED_RELOCATIONS)
  add_link_options(LINKER:-z,pack-relative-relocs)
endif()

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
