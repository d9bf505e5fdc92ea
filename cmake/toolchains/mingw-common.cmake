# The parts that the two MinGW-w64 toolchain files share. Debian's cross
# compilers come in two thread models: posix (the C++ runtime uses
# winpthreads) and win32 (no thread library). GoogleTest needs the posix one;
# Dovrel.exe is built with the win32 one, so that it carries no thread runtime
# it does not use (winpthreads imports functions that Windows XP lacks).
# DOVREL_MINGW_THREADS picks the model; a tree is configured with posix unless
# told otherwise (cmake/DovrelProduct.cmake builds Dovrel.exe with win32).
if(NOT DEFINED DOVREL_MINGW_THREADS)
    set(DOVREL_MINGW_THREADS posix)
endif()
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES DOVREL_MINGW_THREADS DOVREL_MINGW_TRIPLE)
set(CMAKE_C_COMPILER ${DOVREL_MINGW_TRIPLE}-gcc-${DOVREL_MINGW_THREADS})
set(CMAKE_CXX_COMPILER ${DOVREL_MINGW_TRIPLE}-g++-${DOVREL_MINGW_THREADS})
set(CMAKE_RC_COMPILER ${DOVREL_MINGW_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${DOVREL_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
