# The two packages of the shipped 32-bit program, made by the host build
# from the win-i686 sub-build's Tamrik.exe and manual:
#   Tamrik-<version>-win32.zip   Tamrik.exe, readme.txt, LICENSE.txt
#   Tamrik-<version>-setup.exe   the NSIS installer of the same three files
# Expects win32_dir (the sub-build's folder) to be set.

find_program(TAMRIK_MAKENSIS makensis REQUIRED)

set(package_stage ${CMAKE_BINARY_DIR}/package)
set(package_files Tamrik.exe readme.txt LICENSE.txt)
set(package_zip ${CMAKE_BINARY_DIR}/Tamrik-${PROJECT_VERSION}-win32.zip)
set(package_setup ${CMAKE_BINARY_DIR}/Tamrik-${PROJECT_VERSION}-setup.exe)
set(package_script ${CMAKE_SOURCE_DIR}/package/Tamrik.nsi)

# Both packages are made from one staged copy, so the zip's program is the
# installer's byte for byte.
add_custom_command(OUTPUT ${package_zip} ${package_setup}
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${package_stage}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${package_stage}
    COMMAND ${CMAKE_COMMAND} -E copy ${win32_dir}/Tamrik.exe ${win32_dir}/readme.txt
        ${CMAKE_SOURCE_DIR}/LICENSE.txt ${package_stage}
    COMMAND ${CMAKE_COMMAND} -E rm -f ${package_zip}
    COMMAND ${CMAKE_COMMAND} -E chdir ${package_stage}
        ${CMAKE_COMMAND} -E tar cf ${package_zip} --format=zip ${package_files}
    COMMAND ${TAMRIK_MAKENSIS} -V2 -WX -DVERSION=${PROJECT_VERSION} -DSTAGE=${package_stage}
        -DOUTFILE=${package_setup} ${package_script}
    DEPENDS ${win32_dir}/Tamrik.exe ${win32_dir}/readme.txt ${CMAKE_SOURCE_DIR}/LICENSE.txt ${package_script}
    COMMENT "Packing Tamrik ${PROJECT_VERSION}: zip and installer"
    VERBATIM)
add_custom_target(packages ALL DEPENDS ${package_zip} ${package_setup})
add_dependencies(packages win-i686)
