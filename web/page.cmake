# The browser player (included by the top CMakeLists.txt under emscripten): the engine with
# the page's entry points, the demo game packed beside it at /game, the page's own files and
# the font, all in ${CMAKE_BINARY_DIR}/web, ready to be served as they are.
set(TSUKIKAGE_WEB_GAME ${CMAKE_SOURCE_DIR}/build/demo CACHE PATH
    "The game folder packed into the page: the native build's demo (cmake --build build --target demo_game)")
set(TSUKIKAGE_WEB_FONT /usr/share/fonts/opentype/ipafont-gothic/ipagp.ttf CACHE FILEPATH
    "The font the page draws the design's Gothic faces with (fonts-ipafont-gothic)")
if(NOT EXISTS ${TSUKIKAGE_WEB_GAME}/datafile)
    message(STATUS "No game at ${TSUKIKAGE_WEB_GAME}: build the native demo before the page (scripts/web)")
endif()

set(WEB_DIR ${CMAKE_BINARY_DIR}/web)
set(WEB_GAME ${CMAKE_BINARY_DIR}/web-game)
add_custom_command(
    OUTPUT ${WEB_GAME}/datafile
    COMMAND ${CMAKE_COMMAND} -DFROM=${TSUKIKAGE_WEB_GAME} -DTO=${WEB_GAME}
            -P ${CMAKE_CURRENT_SOURCE_DIR}/web/stage_game.cmake
    DEPENDS ${TSUKIKAGE_WEB_GAME}/datafile ${CMAKE_CURRENT_SOURCE_DIR}/web/stage_game.cmake
    COMMENT "Taking the game for the page")

set(WEB_PAGE_FILES index.html player.css player.js paint.js dialogs.css conveniences.js touch.js)
set(WEB_PAGE_OUTPUTS ${WEB_DIR}/fonts/ipagp.ttf)
foreach(file ${WEB_PAGE_FILES})
    add_custom_command(
        OUTPUT ${WEB_DIR}/${file}
        COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_CURRENT_SOURCE_DIR}/web/${file} ${WEB_DIR}/${file}
        DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/web/${file})
    list(APPEND WEB_PAGE_OUTPUTS ${WEB_DIR}/${file})
endforeach()
add_custom_command(
    OUTPUT ${WEB_DIR}/fonts/ipagp.ttf
    COMMAND ${CMAKE_COMMAND} -E copy ${TSUKIKAGE_WEB_FONT} ${WEB_DIR}/fonts/ipagp.ttf
    DEPENDS ${TSUKIKAGE_WEB_FONT})
add_custom_target(web_page DEPENDS ${WEB_PAGE_OUTPUTS} ${WEB_GAME}/datafile)

add_executable(tsukikage_web ${CMAKE_CURRENT_SOURCE_DIR}/src/view/web/web_main.cpp)
target_link_libraries(tsukikage_web PRIVATE webview)
add_dependencies(tsukikage_web web_page)
set_target_properties(tsukikage_web PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${WEB_DIR})
# Asyncify lets a box and a picture's decoding wait inside the engine's call; its stack holds
# the engine's frames from the page's call down to the wait.
target_link_options(tsukikage_web PRIVATE -sASYNCIFY -sASYNCIFY_STACK_SIZE=131072
                    -sENVIRONMENT=web -sEXPORTED_RUNTIME_METHODS=ccall,UTF8ToString
                    "SHELL:--preload-file ${WEB_GAME}@/game")
set_property(TARGET tsukikage_web APPEND PROPERTY LINK_DEPENDS ${WEB_GAME}/datafile)
