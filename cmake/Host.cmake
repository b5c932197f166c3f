# Host build (Linux): native unit tests under sanitizers, the icon tool, and
# the two Windows cross builds with their tests under Wine.

include(cmake/Sources.cmake)
include(ExternalProject)
enable_testing()

set(sanitizers -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
add_library(tamrik_pure STATIC ${TAMRIK_PURE_SOURCES})
target_compile_options(tamrik_pure PUBLIC -Wall -Wextra -Werror ${sanitizers})
target_link_options(tamrik_pure PUBLIC ${sanitizers})
target_include_directories(tamrik_pure PUBLIC ${CMAKE_SOURCE_DIR})

add_executable(icotool tools/icotool.cpp)
target_compile_options(icotool PRIVATE -Wall -Wextra -Werror)

find_package(GTest REQUIRED)
file(GLOB unit_sources CONFIGURE_DEPENDS tests/unit/*.cpp)
add_executable(unit_tests ${unit_sources})
target_link_libraries(unit_tests PRIVATE tamrik_pure GTest::gtest_main)
add_test(NAME unit COMMAND unit_tests)

# The Windows builds. Each is this same project configured with a cross
# toolchain: win-* makes the shipped Tamrik.exe, wintest-* the Windows tests
# and their helper programs. They are rebuilt on every build so an edit is
# never missed.
foreach(arch i686 x86_64)
    foreach(kind win wintest)
        set(byproducts)
        if(kind STREQUAL "win")
            set(toolchain toolchain-${arch}-w64-mingw32.cmake)
            set(tests OFF)
            # What the packages are made of.
            set(byproducts ${CMAKE_BINARY_DIR}/${kind}-${arch}/Tamrik.exe ${CMAKE_BINARY_DIR}/${kind}-${arch}/readme.txt)
        else()
            set(toolchain toolchain-${arch}-w64-mingw32-posix.cmake)
            set(tests ON)
        endif()
        ExternalProject_Add(${kind}-${arch}
            SOURCE_DIR ${CMAKE_SOURCE_DIR}
            BINARY_DIR ${CMAKE_BINARY_DIR}/${kind}-${arch}
            CMAKE_ARGS
                -DCMAKE_TOOLCHAIN_FILE=${CMAKE_SOURCE_DIR}/cmake/${toolchain}
                -DCMAKE_BUILD_TYPE=Release
                -DTAMRIK_ICOTOOL=$<TARGET_FILE:icotool>
                -DTAMRIK_WINDOWS_TESTS=${tests}
            DEPENDS icotool
            BUILD_ALWAYS ON
            BUILD_BYPRODUCTS ${byproducts}
            INSTALL_COMMAND ""
            USES_TERMINAL_BUILD ON)
    endforeach()
endforeach()

set(win32_dir ${CMAKE_BINARY_DIR}/win-i686)
set(win64_dir ${CMAKE_BINARY_DIR}/win-x86_64)
set(wintest32_dir ${CMAKE_BINARY_DIR}/wintest-i686)
set(wintest64_dir ${CMAKE_BINARY_DIR}/wintest-x86_64)
set(wine_run ${CMAKE_SOURCE_DIR}/tests/wine/wine-session.sh)
set(wine_prefix ${CMAKE_BINARY_DIR}/wine)

include(cmake/Package.cmake)

add_test(NAME binaries COMMAND ${CMAKE_SOURCE_DIR}/tests/check-binaries.sh
    ${win32_dir}/Tamrik.exe ${win64_dir}/Tamrik.exe)

# What the shipped program imports, against what the oldest Windows it is
# for export.
add_test(NAME imports COMMAND ${CMAKE_SOURCE_DIR}/tests/check-imports.sh
    ${win32_dir}/Tamrik.exe ${CMAKE_SOURCE_DIR}/tests/system-exports.txt)

# One Wine prefix for the build, made once, and from it, afresh on every
# run, a prefix of its own for each Wine test: each then starts from a
# killed wineserver, a removed settings file and a display of its own. The
# end-to-end suites run in shards (GoogleTest's own sharding), two at a
# time, since a Wine test spends most of its time waiting on Wine, not on a
# core. The tests that hold the program to times of its own run alone
# (RUN_SERIAL): the in-process lanes, whose drives menu gives a read a
# fixed time, the tests of load, the packages and the hung listing. Beside
# the other lanes, on two cores, each of those was seen to miss its time:
# a local directory shown as not answering, a Run value read too late. The
# longest start first (COST: the seconds each took alone, for a fresh build
# that has no record of the times yet).
set(e2e_shards 3)
set(e2e_wow64_shards 2)
set(wine_tests win32-inprocess:160 win64-inprocess:60 win64-load:90 wine-hung-listing:10 package:100)
foreach(shard RANGE 1 ${e2e_shards})
    list(APPEND wine_tests e2e.${shard}:230)
endforeach()
foreach(shard RANGE 1 ${e2e_wow64_shards})
    list(APPEND wine_tests e2e-wow64.${shard}:150)
endforeach()
set(lane_prefixes)
foreach(test ${wine_tests})
    string(REGEX REPLACE ":.*" "" test ${test})
    set(prefix_${test} ${CMAKE_BINARY_DIR}/wine-lanes/${test})
    list(APPEND lane_prefixes ${prefix_${test}})
endforeach()
add_test(NAME wine-prefix COMMAND ${CMAKE_SOURCE_DIR}/tests/wine/make-prefix.sh ${wine_prefix} ${lane_prefixes})
set_tests_properties(wine-prefix PROPERTIES FIXTURES_SETUP wine RUN_SERIAL ON TIMEOUT 300)

# The tests of load run on the 64-bit build alone, and alone on the machine
# (win64-load): the two soak loops, a thousand rounds of clicks and menus
# each, and the sub-menu of ten thousand directories held to a time. What
# they watch for (an object or memory left behind by each round, a menu that
# grows slowly, a read that comes late) is the same code on either width,
# and the times they hold the program to are its own, not those of a
# machine shared with the emulator: beside the other lanes, a read of a
# local directory was seen to miss the drives menu's time.
set(load_tests TamrikTest.ThousandsOfClicksAndMenusLeakNothing:QuickExplorerTest.AThousandPopupsWithSubMenusOpenedLeaveNothingBehind:QuickExplorerTest.TenThousandDirectoriesMakeOneLongSubMenuOfOneHandle)
foreach(lane win32-inprocess:32:-${load_tests} win64-inprocess:64:-${load_tests} win64-load:64:${load_tests})
    string(REPLACE ":" ";" lane ${lane})
    list(GET lane 0 name)
    list(GET lane 1 bits)
    list(SUBLIST lane 2 -1 filter)
    string(REPLACE ";" ":" filter "${filter}")
    add_test(NAME ${name}
        COMMAND ${wine_run} ${prefix_${name}} ${bits} ${wintest${bits}_dir}/tests/win/win_tests.exe --gtest_filter=${filter})
    set_tests_properties(${name} PROPERTIES TIMEOUT 600)
endforeach()

# A fact of Wine that the drives menu's end-to-end tests are built around:
# a listing that never answers holds up every other listing of its process.
add_test(NAME wine-hung-listing COMMAND ${CMAKE_SOURCE_DIR}/tests/wine/listing-lock/hung-listing.sh
    ${prefix_wine-hung-listing} ${wintest64_dir}/tests/wine/listing-lock/listing_lock.exe)
set_tests_properties(wine-hung-listing PROPERTIES TIMEOUT 120)

# The installer and the zip: a silent install, the program started as its
# shortcut starts it, a silent uninstall.
add_test(NAME package COMMAND ${CMAKE_SOURCE_DIR}/tests/package/test-package.sh
    ${prefix_package} ${package_setup} ${package_zip} ${wintest32_dir}/tests/e2e/helpers/poke.exe ${PROJECT_VERSION})
set_tests_properties(package PROPERTIES TIMEOUT 600)

file(GLOB e2e_sources CONFIGURE_DEPENDS tests/e2e/*.cpp)
add_executable(e2e_tests ${e2e_sources})
target_compile_options(e2e_tests PRIVATE -Wall -Wextra -Werror)
target_link_libraries(e2e_tests PRIVATE GTest::gtest_main)
add_dependencies(e2e_tests win-i686 win-x86_64 wintest-i686 wintest-x86_64)
# The whole suite on the 64-bit build, and the tests that wow64-lane.txt
# names on the shipped 32-bit exe under WOW64.
foreach(lane e2e:x64 e2e-wow64:wow64)
    string(REGEX REPLACE ":.*" "" name ${lane})
    string(REGEX REPLACE ".*:" "" arch ${lane})
    string(REPLACE "-" "_" shards ${name}_shards)
    foreach(shard RANGE 1 ${${shards}})
        math(EXPR index "${shard} - 1")
        add_test(NAME ${name}.${shard} COMMAND ${CMAKE_SOURCE_DIR}/tests/e2e/run-e2e.sh
            ${prefix_${name}.${shard}} $<TARGET_FILE:e2e_tests> ${CMAKE_BINARY_DIR} ${arch})
        set_tests_properties(${name}.${shard} PROPERTIES TIMEOUT 600
            ENVIRONMENT "GTEST_TOTAL_SHARDS=${${shards}};GTEST_SHARD_INDEX=${index}")
    endforeach()
endforeach()
foreach(test ${wine_tests})
    string(REPLACE ":" ";" test ${test})
    list(GET test 0 name)
    list(GET test 1 seconds)
    set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED wine COST ${seconds})
endforeach()
set_tests_properties(win32-inprocess win64-inprocess win64-load package wine-hung-listing PROPERTIES RUN_SERIAL ON)

# Fuzz targets, when a clang with libFuzzer is at hand (Debian's clang with
# libclang-rt-14-dev). ctest runs each for a few seconds on a copy of its
# seed corpus; scripts/fuzz.sh runs them for longer.
find_program(TAMRIK_CLANGXX NAMES clang++ clang++-14)
set(libfuzzer_found FALSE)
if(TAMRIK_CLANGXX)
    set(probe ${CMAKE_BINARY_DIR}/libfuzzer-probe)
    file(WRITE ${probe}.cpp
        "#include <cstddef>\n#include <cstdint>\n"
        "extern \"C\" int LLVMFuzzerTestOneInput(const uint8_t*, size_t) { return 0; }\n")
    execute_process(COMMAND ${TAMRIK_CLANGXX} -fsanitize=fuzzer,address,undefined ${probe}.cpp -o ${probe}
        RESULT_VARIABLE probe_result OUTPUT_QUIET ERROR_QUIET)
    if(probe_result EQUAL 0)
        set(libfuzzer_found TRUE)
    endif()
endif()

if(libfuzzer_found)
    ExternalProject_Add(fuzz
        SOURCE_DIR ${CMAKE_SOURCE_DIR}
        BINARY_DIR ${CMAKE_BINARY_DIR}/fuzz
        CMAKE_ARGS
            -DCMAKE_CXX_COMPILER=${TAMRIK_CLANGXX}
            -DCMAKE_BUILD_TYPE=Debug
            -DTAMRIK_FUZZ=ON
        BUILD_ALWAYS ON
        INSTALL_COMMAND ""
        USES_TERMINAL_BUILD ON)
    set(fuzz_seconds 3)
    file(GLOB fuzz_sources CONFIGURE_DEPENDS tests/fuzz/*_fuzz.cpp)
    foreach(source ${fuzz_sources})
        get_filename_component(name ${source} NAME_WE)
        string(REGEX REPLACE "_fuzz$" "" name ${name})
        add_test(NAME fuzz-${name} COMMAND ${CMAKE_SOURCE_DIR}/tests/fuzz/run-seeds.sh
            ${CMAKE_BINARY_DIR}/fuzz/fuzz-${name} ${CMAKE_SOURCE_DIR}/tests/fuzz/corpus/${name}
            ${fuzz_seconds} ${CMAKE_BINARY_DIR}/fuzz-findings/${name})
        set_tests_properties(fuzz-${name} PROPERTIES TIMEOUT 60)
    endforeach()
else()
    message(STATUS "No clang with libFuzzer: the fuzz targets are left out")
endif()
