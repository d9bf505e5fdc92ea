# Running Windows programs of this build under Wine, for the test tiers.
#
# Every test run uses one Wine prefix and one X display, kept in
# DOVREL_WINE_STATE: the prefix is made on first use (wineboot takes about
# 16 s, so never per test), and the test fixture "wine" starts Xvfb on a free
# display when DISPLAY is not set and ends Xvfb and the wineserver afterwards.
set(DOVREL_WINE_STATE ${CMAKE_BINARY_DIR}/wine CACHE PATH "Wine prefix and display of this build's test runs")
set(DOVREL_WINE_RUN ${CMAKE_SOURCE_DIR}/tests/wine/wine-run.sh)
set(DOVREL_WINE_SESSION ${CMAKE_SOURCE_DIR}/tests/wine/session.sh)

# Cross-built programs run through the wrapper, test discovery included.
set(CMAKE_CROSSCOMPILING_EMULATOR ${DOVREL_WINE_RUN} ${DOVREL_WINE_STATE})

# GoogleTest programs run through a wrapper that names any non-zero exit
# with what Wine said (tests/wine/gtest-run.sh).
function(dovrel_gtest_under_wine target)
    set_target_properties(${target} PROPERTIES CROSSCOMPILING_EMULATOR
        "${CMAKE_SOURCE_DIR}/tests/wine/gtest-run.sh;${DOVREL_WINE_STATE}")
endfunction()
