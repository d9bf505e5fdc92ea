# The program's version texts, all from the version given to project()
# (1.1.0.16), so that it is written once:
#   DOVREL_RELEASE_VERSION  "1.01": the minor number in two digits
#   DOVREL_VERSION_TEXT     "1.01.0016": and the build number in four
#   DOVREL_VERSION_COMMAS   "1,1,0,16": the resource script's fixed version
function(dovrel_pad value width result)
    string(LENGTH "${value}" length)
    while(length LESS width)
        set(value "0${value}")
        math(EXPR length "${length} + 1")
    endwhile()
    set(${result} ${value} PARENT_SCOPE)
endfunction()

dovrel_pad(${PROJECT_VERSION_MINOR} 2 dovrel_minor)
dovrel_pad(${PROJECT_VERSION_TWEAK} 4 dovrel_build)
set(DOVREL_RELEASE_VERSION ${PROJECT_VERSION_MAJOR}.${dovrel_minor})
set(DOVREL_VERSION_TEXT ${DOVREL_RELEASE_VERSION}.${dovrel_build})
set(DOVREL_VERSION_COMMAS
    ${PROJECT_VERSION_MAJOR},${PROJECT_VERSION_MINOR},${PROJECT_VERSION_PATCH},${PROJECT_VERSION_TWEAK})
