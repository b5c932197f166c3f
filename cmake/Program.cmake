# Windows build: Tamrik.exe, and where GoogleTest's sources are at hand the
# in-process tests and the helper programs of the end-to-end tests.

include(cmake/Sources.cmake)
enable_language(RC)

if(MSVC)
    add_compile_options(/W4 /permissive-)
else()
    add_compile_options(-Wall -Wextra -Werror -Os -ffunction-sections -fdata-sections)
    add_link_options(-static -s -Wl,--gc-sections)
    # The shipped program is optimised across its units, which saves some
    # 15 KB. Debian's MinGW GCC 12 stops with an internal error in identical
    # code folding when the link is split into partitions, hence the two
    # extra flags.
    if(NOT TAMRIK_WINDOWS_TESTS)
        add_compile_options(-flto -flto-partition=none -fno-ipa-icf)
        add_link_options(-flto -flto-partition=none -fno-ipa-icf -Os)
    endif()
endif()
add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0501 WINVER=0x0501 _WIN32_IE=0x0501)

set(TAMRIK_FRAMEWORK_SOURCES
    framework/Application.cpp
    framework/Component.cpp
    framework/Buttons.cpp
    framework/Containers.cpp
    framework/Control.cpp
    framework/Dialogs.cpp
    framework/Edits.cpp
    framework/Label.cpp
    framework/ListBox.cpp
    framework/Form.cpp
    framework/Icon.cpp
    framework/IniFile.cpp
    framework/Menus.cpp
    framework/Platform.cpp
    framework/Theme.cpp
    framework/Timer.cpp
)
set(TAMRIK_APP_SOURCES
    app/Unit1.cpp
    app/Unit1Layout.cpp
    app/Settings.cpp
    app/Shutdown.cpp
    app/Startup.cpp
    app/Launch.cpp
    app/MSDOSPrompt.cpp
    app/QuickExplorer.cpp
    app/DirectoryRead.cpp
    app/DriveReads.cpp
    app/QuickTelnet.cpp
    app/Sweep.cpp
    app/TrayButtons.cpp
    components/QVTrayIcon.cpp
    components/Volinfo.cpp
)
set(system_libs comctl32 shell32 gdi32 user32 advapi32 kernel32)

add_library(tamrik_core STATIC ${TAMRIK_PURE_SOURCES} ${TAMRIK_FRAMEWORK_SOURCES} ${TAMRIK_APP_SOURCES})
target_include_directories(tamrik_core PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(tamrik_core PUBLIC ${system_libs})

# The icons are kept as text; a small tool turns each into the .ico the
# resource compiler wants. A cross build is handed the host's tool.
if(NOT TAMRIK_ICOTOOL)
    add_executable(icotool tools/icotool.cpp)
    set(TAMRIK_ICOTOOL $<TARGET_FILE:icotool>)
endif()
set(icon_dir ${CMAKE_BINARY_DIR}/icons)
set(icon_names mainicon telnet msdos explorer minup mindown restoreup restoredown closeup closedown shutdownup
    shutdowndown)
set(icon_files)
foreach(icon ${icon_names})
    add_custom_command(OUTPUT ${icon_dir}/${icon}.ico
        COMMAND ${CMAKE_COMMAND} -E make_directory ${icon_dir}
        COMMAND ${TAMRIK_ICOTOOL} ${CMAKE_SOURCE_DIR}/resources/icons/${icon}.txt ${icon_dir}/${icon}.ico
        DEPENDS ${CMAKE_SOURCE_DIR}/resources/icons/${icon}.txt
        VERBATIM)
    list(APPEND icon_files ${icon_dir}/${icon}.ico)
endforeach()
# The version resource and the manifest take the project's version.
set(generated_dir ${CMAKE_BINARY_DIR}/generated)
set(TAMRIK_VERSION_4 ${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH}.0)
configure_file(resources/version.h.in ${generated_dir}/version.h @ONLY)
configure_file(resources/Tamrik.manifest.in ${generated_dir}/Tamrik.manifest @ONLY)
set_source_files_properties(resources/Tamrik.rc PROPERTIES
    OBJECT_DEPENDS "${icon_files};${generated_dir}/Tamrik.manifest;${generated_dir}/version.h")

if(CMAKE_RC_COMPILER MATCHES "windres")
    set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -I${icon_dir} -I${generated_dir} -I${CMAKE_SOURCE_DIR}/resources")
endif()
# The resources as objects, so that the in-process tests carry the
# program's icons too.
add_library(tamrik_resources OBJECT resources/Tamrik.rc)
target_include_directories(tamrik_resources PRIVATE ${icon_dir} ${generated_dir})

# Runtime.cpp replaces a runtime default, so it must be linked as an object,
# not picked from a library.
add_executable(Tamrik WIN32 app/Tamrik.cpp framework/Runtime.cpp $<TARGET_OBJECTS:tamrik_resources>)
target_link_libraries(Tamrik PRIVATE tamrik_core)
# The user manual ships beside the program; Help opens it from there.
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/readme.txt
    COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/readme.txt ${CMAKE_BINARY_DIR}/readme.txt
    DEPENDS ${CMAKE_SOURCE_DIR}/readme.txt)
add_custom_target(manual ALL DEPENDS ${CMAKE_BINARY_DIR}/readme.txt)

# The Windows tests need GoogleTest's sources and a compiler with the posix
# thread model; the shipped build has neither and makes only the program.
set(gtest_root /usr/src/googletest CACHE PATH "GoogleTest sources for the Windows tests")
option(TAMRIK_WINDOWS_TESTS "Build the Windows tests" OFF)
if(TAMRIK_WINDOWS_TESTS AND EXISTS ${gtest_root}/CMakeLists.txt)
    set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
    add_subdirectory(${gtest_root} googletest EXCLUDE_FROM_ALL)
    # GoogleTest's own sources are not held to our warning flags.
    target_compile_options(gtest PRIVATE -Wno-error)
    target_compile_options(gtest_main PRIVATE -Wno-error)
    add_subdirectory(tests/win)
    add_subdirectory(tests/e2e/helpers)
    add_subdirectory(tests/wine/listing-lock)
    add_subdirectory(tests/bench)
endif()
