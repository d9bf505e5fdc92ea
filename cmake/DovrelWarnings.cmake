# Settings shared by every target of the project's own code.
function(dovrel_project_target target)
    if(MSVC)
        target_compile_options(${target} PRIVATE /W4 /permissive-)
    else()
        target_compile_options(${target} PRIVATE -Wall -Wextra)
    endif()
    if(WIN32)
        target_compile_definitions(${target} PRIVATE UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX
                                   _WIN32_WINNT=0x0601 WINVER=0x0601)
    endif()
endfunction()

# A Windows program of the project: it needs nothing but system DLLs, so the
# C++ runtime and its threads library are linked in.
function(dovrel_windows_program target)
    dovrel_project_target(${target})
    if(MINGW)
        target_link_options(${target} PRIVATE -static)
    endif()
endfunction()

if(DOVREL_SANITIZE AND NOT WIN32)
    add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    add_link_options(-fsanitize=address,undefined)
endif()
