# The oldest Windows the program runs on, as the headers count it: Windows XP
# for the 32-bit build, Windows XP x64 and Server 2003 x64 (0x0502) for the
# 64-bit one; Internet Explorer 6, which both come with. A function that came
# later is looked up at run time (platform/win32/system/LaterEntryPoints.h). The
# MinGW-w64 headers declare most functions whatever the version, so the
# import test (tests/imports) is what checks the built program.
# DOVREL_OLDEST_CLIENT and _SERVER name the same in the words of the import
# table, tests/imports/imports.tsv.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(DOVREL_WINDOWS_TIER win64)
    set(DOVREL_WINDOWS_VERSION 0x0502)
    set(DOVREL_OLDEST_CLIENT xp)
    set(DOVREL_OLDEST_SERVER 2003-sp1)
else()
    set(DOVREL_WINDOWS_TIER win32)
    set(DOVREL_WINDOWS_VERSION 0x0501)
    set(DOVREL_OLDEST_CLIENT xp-sp3)
    set(DOVREL_OLDEST_SERVER 2003)
endif()

# With Visual Studio's compiler every library and program takes the static C
# runtime, as the program must (it needs nothing but system DLLs): the linker
# refuses to mix objects built for the two runtimes.
if(MSVC)
    set(CMAKE_MSVC_RUNTIME_LIBRARY "MultiThreaded$<$<CONFIG:Debug>:Debug>")
endif()

# Settings shared by every target of the project's own code. A test program
# that needs a newer Windows's headers names the version after the target.
function(dovrel_project_target target)
    set(version ${DOVREL_WINDOWS_VERSION})
    if(ARGC GREATER 1)
        set(version ${ARGV1})
    endif()
    if(MSVC)
        target_compile_options(${target} PRIVATE /W4 /permissive- /utf-8)
    else()
        target_compile_options(${target} PRIVATE -Wall -Wextra)
    endif()
    if(WIN32)
        target_compile_definitions(${target} PRIVATE UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX
                                   _WIN32_WINNT=${version} WINVER=${version}
                                   _WIN32_IE=0x0600)
    endif()
endfunction()

# A Windows program of the project: it needs nothing but system DLLs, so the
# C++ runtime (and, in the posix thread model, winpthreads) is linked in.
function(dovrel_windows_program target)
    dovrel_project_target(${target} ${ARGN})
    if(MINGW)
        target_link_options(${target} PRIVATE -static)
    endif()
endfunction()

if(DOVREL_SANITIZE AND NOT WIN32)
    add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    add_link_options(-fsanitize=address,undefined)
endif()
