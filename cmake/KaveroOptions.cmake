# Shared compiler settings: warnings everywhere, -Werror on request (CI), and the
# sanitizer and fuzzer switches used by the second, clang-built test run.
option(KAVERO_WERROR "Treat warnings as errors" OFF)
option(KAVERO_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
option(KAVERO_FUZZ "Build the libFuzzer targets (clang only)" OFF)

add_library(kavero_options INTERFACE)
target_compile_options(kavero_options INTERFACE -Wall -Wextra)
if(KAVERO_WERROR)
  target_compile_options(kavero_options INTERFACE -Werror)
endif()
target_include_directories(kavero_options INTERFACE ${CMAKE_SOURCE_DIR}/src ${CMAKE_BINARY_DIR}/generated)

if(KAVERO_SANITIZE OR KAVERO_FUZZ)
  set(_kavero_san -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  if(KAVERO_FUZZ)
    # Every library is instrumented for coverage so the fuzzer sees into the reader.
    list(APPEND _kavero_san -fsanitize=fuzzer-no-link)
  endif()
  target_compile_options(kavero_options INTERFACE ${_kavero_san})
  target_link_options(kavero_options INTERFACE -fsanitize=address,undefined)
endif()

# kavero_add_library(<folder> sources... DEPENDS libs...): one static library per subsystem.
function(kavero_add_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPENDS" ${ARGN})
  add_library(kavero_${name} STATIC ${ARG_SOURCES})
  target_link_libraries(kavero_${name} PUBLIC kavero_options ${ARG_DEPENDS})
endfunction()
