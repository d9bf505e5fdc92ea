# Release packages: Dovrel-<version>-win32.zip and Dovrel-<version>-win64.zip,
# each holding Dovrel.exe (stripped) and ReadMe.txt and nothing else.
#
# This file is used in three ways:
#   include()d by the top-level CMakeLists.txt of a Windows tree: the install
#     rules and the CPack settings, so that
#         cmake --build build/win32 --target package
#     makes that tree's zip in the tree, and a test that packing still works;
#   cmake -P cmake/DovrelPackage.cmake, from anywhere: configures the two
#     Windows trees under build/ (or $DOVREL_BUILD) where they are missing,
#     builds each and makes its zip in it, as the package target does;
#   cmake -DDOVREL_PACKAGE_CHECK=<tree> -P cmake/DovrelPackage.cmake: the test.

if(DEFINED DOVREL_PACKAGE_CHECK)
    # Packs the tree into a folder of its own, not over the tree's own zip,
    # and looks at what came out. cpack first brings the tree up to date, as
    # the package target does; in a built tree that is a quick check.
    include(${DOVREL_PACKAGE_CHECK}/CPackConfig.cmake)
    set(out ${DOVREL_PACKAGE_CHECK}/package-check)
    file(REMOVE_RECURSE ${out})
    execute_process(COMMAND ${CMAKE_CPACK_COMMAND} --config ${DOVREL_PACKAGE_CHECK}/CPackConfig.cmake -B ${out}
                    RESULT_VARIABLE failed OUTPUT_VARIABLE log ERROR_VARIABLE log)
    set(zip ${out}/${CPACK_PACKAGE_FILE_NAME}.zip)
    if(failed OR NOT EXISTS ${zip})
        message(FATAL_ERROR "cpack made no ${CPACK_PACKAGE_FILE_NAME}.zip:\n${log}")
    endif()
    file(GLOB made RELATIVE ${out} ${out}/*.zip)
    if(NOT made STREQUAL "${CPACK_PACKAGE_FILE_NAME}.zip")
        message(FATAL_ERROR "expected only ${CPACK_PACKAGE_FILE_NAME}.zip, cpack made: ${made}")
    endif()

    file(MAKE_DIRECTORY ${out}/unpacked)
    execute_process(COMMAND ${CMAKE_COMMAND} -E tar tf ${zip} OUTPUT_VARIABLE listing RESULT_VARIABLE failed)
    execute_process(COMMAND ${CMAKE_COMMAND} -E tar xf ${zip} WORKING_DIRECTORY ${out}/unpacked)
    string(REGEX REPLACE "\n$" "" listing "${listing}")
    string(REPLACE "\n" ";" listing "${listing}")
    list(SORT listing)
    if(failed OR NOT listing STREQUAL "Dovrel.exe;ReadMe.txt")
        message(FATAL_ERROR "${zip} holds: ${listing}\nexpected exactly: Dovrel.exe;ReadMe.txt")
    endif()
    file(READ ${out}/unpacked/Dovrel.exe head LIMIT 2 HEX)
    file(SHA256 ${out}/unpacked/ReadMe.txt packed_readme)
    file(SHA256 ${DOVREL_README} source_readme)
    if(NOT head STREQUAL "4d5a" OR NOT packed_readme STREQUAL source_readme)
        message(FATAL_ERROR "${zip}: Dovrel.exe is not a program or ReadMe.txt is not the project's")
    endif()
    message(STATUS "${CPACK_PACKAGE_FILE_NAME}.zip holds Dovrel.exe and ReadMe.txt")
    file(REMOVE_RECURSE ${out})
    return()
endif()

if(CMAKE_SCRIPT_MODE_FILE)
    get_filename_component(root ${CMAKE_CURRENT_LIST_DIR}/.. ABSOLUTE)
    set(build $ENV{DOVREL_BUILD})
    if(NOT build)
        set(build ${root}/build)
    endif()
    cmake_host_system_information(RESULT jobs QUERY NUMBER_OF_LOGICAL_CORES)
    foreach(tree_and_triple win32:i686-w64-mingw32 win64:x86_64-w64-mingw32)
        string(REPLACE ":" ";" tree_and_triple ${tree_and_triple})
        list(GET tree_and_triple 0 tree)
        list(GET tree_and_triple 1 triple)
        set(dir ${build}/${tree})
        # Configured as scripts/test.sh does, so that either can use the
        # tree afterwards.
        if(NOT EXISTS ${dir}/CMakeCache.txt)
            execute_process(COMMAND ${CMAKE_COMMAND} -S ${root} -B ${dir} -DCMAKE_BUILD_TYPE=RelWithDebInfo
                                    -DCMAKE_TOOLCHAIN_FILE=${root}/cmake/toolchains/${triple}.cmake
                            COMMAND_ERROR_IS_FATAL ANY)
        endif()
        execute_process(COMMAND ${CMAKE_COMMAND} --build ${dir} --target package -j ${jobs} COMMAND_ERROR_IS_FATAL ANY)
    endforeach()
    return()
endif()

# Included by a Windows tree. The tree that builds Dovrel.exe has the install
# rules; the tree that runs the tests packs it (the same tree, or the product
# tree inside it: cmake/DovrelProduct.cmake). Only the component "dovrel" is
# packed, so no install rule of a subproject (GoogleTest's, say) can add files.
if(TARGET Dovrel AND DOVREL_PRODUCT_BINARY_DIR STREQUAL CMAKE_BINARY_DIR)
    install(TARGETS Dovrel RUNTIME DESTINATION . COMPONENT dovrel)
    install(FILES ${PROJECT_SOURCE_DIR}/resources/ReadMe.txt DESTINATION . COMPONENT dovrel)
endif()
if(DOVREL_PRODUCT_ONLY)
    return()
endif()

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME Dovrel)
set(CPACK_PACKAGE_VENDOR Orvane)
set(CPACK_PACKAGE_VERSION ${DOVREL_RELEASE_VERSION})
set(CPACK_PACKAGE_FILE_NAME Dovrel-${DOVREL_RELEASE_VERSION}-${DOVREL_WINDOWS_TIER})
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
set(CPACK_INSTALL_CMAKE_PROJECTS "${DOVREL_PRODUCT_BINARY_DIR};${PROJECT_NAME};dovrel;/")
set(CPACK_STRIP_FILES ON)
include(CPack)

add_test(NAME ${DOVREL_WINDOWS_TIER}.package
    COMMAND ${CMAKE_COMMAND} -DDOVREL_PACKAGE_CHECK=${CMAKE_BINARY_DIR}
            -DDOVREL_README=${PROJECT_SOURCE_DIR}/resources/ReadMe.txt -P ${CMAKE_CURRENT_LIST_FILE})
set_tests_properties(${DOVREL_WINDOWS_TIER}.package PROPERTIES LABELS ${DOVREL_WINDOWS_TIER} TIMEOUT 60)
