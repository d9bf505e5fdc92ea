# Where Dovrel.exe is built. DOVREL_EXE is its path for the tests and the
# package; the target "Dovrel" builds it.
#
# A MinGW-w64 tree configured with the posix thread model (the test programs
# need it: GoogleTest does not compile with the win32 model) builds Dovrel.exe
# in a tree of its own inside it, product/, with the same toolchain file and
# the win32 model, so that the program carries no thread runtime; the exe
# still lands in app/ of this tree, beside its read-me. Any other tree (the
# win32 model, MSVC) builds Dovrel.exe itself.
if(DOVREL_MINGW_THREADS STREQUAL "posix" AND NOT DOVREL_PRODUCT_ONLY)
    include(ExternalProject)
    set(DOVREL_PRODUCT_BINARY_DIR ${CMAKE_BINARY_DIR}/product)
    set(DOVREL_EXE ${CMAKE_BINARY_DIR}/app/Dovrel.exe)
    ExternalProject_Add(Dovrel
        SOURCE_DIR ${PROJECT_SOURCE_DIR}
        BINARY_DIR ${DOVREL_PRODUCT_BINARY_DIR}
        CMAKE_ARGS -DCMAKE_TOOLCHAIN_FILE=${PROJECT_SOURCE_DIR}/cmake/toolchains/${DOVREL_MINGW_TRIPLE}.cmake
                   -DDOVREL_MINGW_THREADS=win32
                   -DDOVREL_PRODUCT_ONLY=ON
                   -DDOVREL_PRODUCT_OUTPUT_DIRECTORY=${CMAKE_BINARY_DIR}/app
                   -DCMAKE_BUILD_TYPE=${CMAKE_BUILD_TYPE}
        # The product tree knows its own sources; make decides there.
        BUILD_ALWAYS ON
        INSTALL_COMMAND ""
        BUILD_BYPRODUCTS ${DOVREL_EXE})
else()
    # app/CMakeLists.txt adds the target.
    set(DOVREL_BUILDS_PRODUCT ON)
    set(DOVREL_PRODUCT_BINARY_DIR ${CMAKE_BINARY_DIR})
    set(DOVREL_EXE $<TARGET_FILE:Dovrel>)
endif()
