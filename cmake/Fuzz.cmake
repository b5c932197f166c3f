# Fuzz build: the platform-free logic and one libFuzzer target per area,
# built with clang under AddressSanitizer and UndefinedBehaviorSanitizer.
# The host build configures this as a sub-build with clang++ as compiler.

include(cmake/Sources.cmake)

set(fuzz_sanitizers address,undefined)
set(fuzz_flags -Wall -Wextra -Werror -g -O1 -fno-omit-frame-pointer -fno-sanitize-recover=all)

list(TRANSFORM TAMRIK_PURE_SOURCES PREPEND ${CMAKE_SOURCE_DIR}/ OUTPUT_VARIABLE pure_sources)
add_library(tamrik_pure_fuzz STATIC ${pure_sources})
target_compile_options(tamrik_pure_fuzz PUBLIC ${fuzz_flags} -fsanitize=fuzzer-no-link,${fuzz_sanitizers})
target_include_directories(tamrik_pure_fuzz PUBLIC ${CMAKE_SOURCE_DIR})

file(GLOB fuzz_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/fuzz/*_fuzz.cpp)
foreach(source ${fuzz_sources})
    get_filename_component(name ${source} NAME_WE)
    string(REGEX REPLACE "_fuzz$" "" name ${name})
    add_executable(fuzz-${name} ${source})
    target_compile_options(fuzz-${name} PRIVATE -fsanitize=fuzzer,${fuzz_sanitizers})
    target_link_options(fuzz-${name} PRIVATE -fsanitize=fuzzer,${fuzz_sanitizers})
    target_link_libraries(fuzz-${name} PRIVATE tamrik_pure_fuzz)
endforeach()
