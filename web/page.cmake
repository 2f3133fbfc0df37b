# The browser player (included by the top CMakeLists.txt under emscripten): the engine with
# the page's entry points, the demo game packed beside it at /game, the page's own files and
# the font, all in ${CMAKE_BINARY_DIR}/web, ready to be served as they are.
set(TSUKIKAGE_WEB_GAME ${CMAKE_SOURCE_DIR}/build/demo CACHE PATH
    "The game folder packed into the page: the native build's demo (cmake --build build --target demo_game)")
set(TSUKIKAGE_WEB_FONT /usr/share/fonts/opentype/ipafont-gothic/ipagp.ttf CACHE FILEPATH
    "The font the page draws the design's Gothic faces with (fonts-ipafont-gothic)")
set(TSUKIKAGE_KANJIDIC /usr/share/edict/kanjidic CACHE FILEPATH
    "How often each kanji is used, to put the common ones together in the font's pieces (kanjidic)")
if(NOT EXISTS ${TSUKIKAGE_WEB_GAME}/datafile)
    message(STATUS "No game at ${TSUKIKAGE_WEB_GAME}: build the native demo before the page (scripts/web)")
endif()

set(WEB_DIR ${CMAKE_BINARY_DIR}/web)
set(WEB_GAME ${CMAKE_BINARY_DIR}/web-game)
# Its waves are packed to compress well (tools/web/pack_waves.py) and come apart from the rest,
# after the first screen (tsukikage_web.waves.gz); the page puts them back and restores them
# from the list before the game goes on.
set(WEB_PACKED_WAVES ${CMAKE_BINARY_DIR}/web-packed-waves.txt)
set(WEB_LATE_WAVES ${WEB_DIR}/tsukikage_web.waves.gz)
find_program(TSUKIKAGE_SYSTEM_PYTHON python3 PATHS /usr/bin NO_DEFAULT_PATH)
add_custom_command(
    OUTPUT ${WEB_GAME}/datafile ${WEB_PACKED_WAVES} ${WEB_LATE_WAVES} ${WEB_DIR}/tsukikage_web.waves
    COMMAND ${CMAKE_COMMAND} -DFROM=${TSUKIKAGE_WEB_GAME} -DTO=${WEB_GAME}
            -P ${CMAKE_CURRENT_SOURCE_DIR}/web/stage_game.cmake
    COMMAND ${CMAKE_COMMAND} -E make_directory ${WEB_DIR}
    COMMAND ${TSUKIKAGE_SYSTEM_PYTHON} ${CMAKE_CURRENT_SOURCE_DIR}/tools/web/pack_waves.py
            ${WEB_GAME} ${WEB_PACKED_WAVES} ${WEB_LATE_WAVES}
    DEPENDS ${TSUKIKAGE_WEB_GAME}/datafile ${CMAKE_CURRENT_SOURCE_DIR}/web/stage_game.cmake
            ${CMAKE_CURRENT_SOURCE_DIR}/tools/web/pack_waves.py
    COMMENT "Taking the game for the page")

set(WEB_PAGE_FILES player.css player.js paint.js dialogs.css conveniences.js touch.js
    pictures.js picture_images.js loader.js record_archive.js records_database.js records.js
    own_folder.js game_tools.js sound.js fluid_quiet.js fonts_ahead.js menubar.js
    about_box.js gamepad.js self_voicing.js live_region.js page_ready.js late_waves.js)
set(WEB_PAGE_OUTPUTS ${WEB_DIR}/fonts/fonts.css ${WEB_DIR}/index.html ${WEB_DIR}/page.js)
list(TRANSFORM WEB_PAGE_FILES PREPEND ${CMAKE_CURRENT_SOURCE_DIR}/web/ OUTPUT_VARIABLE WEB_PAGE_SOURCES)
add_custom_command(
    OUTPUT ${WEB_DIR}/index.html ${WEB_DIR}/page.js
    COMMAND ${CMAKE_COMMAND} -DSOURCE=${CMAKE_CURRENT_SOURCE_DIR}/web -DOUTPUT=${WEB_DIR}
            -P ${CMAKE_CURRENT_SOURCE_DIR}/tools/web/bundle_page.cmake
    DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/web/index.html ${WEB_PAGE_SOURCES}
            ${CMAKE_CURRENT_SOURCE_DIR}/tools/web/bundle_page.cmake
    COMMENT "Putting the page's scripts into one")
foreach(file ${WEB_PAGE_FILES})
    add_custom_command(
        OUTPUT ${WEB_DIR}/${file}
        COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_CURRENT_SOURCE_DIR}/web/${file} ${WEB_DIR}/${file}
        DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/web/${file})
    list(APPEND WEB_PAGE_OUTPUTS ${WEB_DIR}/${file})
endforeach()
# The font in pieces by character (python3-fonttools), so a page fetches only what it draws.
add_custom_command(
    OUTPUT ${WEB_DIR}/fonts/fonts.css
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${WEB_DIR}/fonts
    COMMAND ${TSUKIKAGE_SYSTEM_PYTHON} ${CMAKE_CURRENT_SOURCE_DIR}/tools/web/split_font.py
            ${TSUKIKAGE_WEB_FONT} IPAPGothic ${WEB_DIR}/fonts ${TSUKIKAGE_KANJIDIC}
    DEPENDS ${TSUKIKAGE_WEB_FONT} ${CMAKE_CURRENT_SOURCE_DIR}/tools/web/split_font.py
    COMMENT "Splitting the font into pieces by character")
# The music: FluidSynth compiled to WebAssembly (scripts/install-deps puts js-synthesizer there)
# and the desktop's soundfont. Without them the page plays its waves and keeps MIDI silent.
set(TSUKIKAGE_JS_SYNTHESIZER /usr/local/share/tsukikage/npm/node_modules/js-synthesizer CACHE PATH
    "js-synthesizer's npm package, whose FluidSynth plays the page's MIDI")
set(TSUKIKAGE_WEB_SOUNDFONT /usr/share/sounds/sf2/default-GM.sf2 CACHE FILEPATH
    "The General MIDI soundfont the page plays MIDI with (the desktop's default)")
set(WEB_SOUND_FILES
    "${TSUKIKAGE_JS_SYNTHESIZER}/dist/js-synthesizer.min.js=js-synthesizer.min.js"
    "${TSUKIKAGE_JS_SYNTHESIZER}/dist/js-synthesizer.worklet.min.js=js-synthesizer.worklet.min.js"
    "${TSUKIKAGE_JS_SYNTHESIZER}/externals/libfluidsynth-2.4.6.js=libfluidsynth.js"
    "${TSUKIKAGE_JS_SYNTHESIZER}/LICENSE=licenses/js-synthesizer.txt"
    "${TSUKIKAGE_JS_SYNTHESIZER}/externals/LICENSE.fluidsynth.txt=licenses/fluidsynth.txt"
    "${TSUKIKAGE_WEB_SOUNDFONT}=soundfont.sf2")
foreach(pair ${WEB_SOUND_FILES})
    string(REPLACE "=" ";" pair "${pair}")
    list(GET pair 0 from)
    list(GET pair 1 to)
    if(NOT EXISTS ${from})
        message(STATUS "${from} is missing: the page's MIDI stays silent (scripts/install-deps)")
        continue()
    endif()
    # The soundfont is a link to the Debian package's file: the page gets the file itself.
    get_filename_component(from ${from} REALPATH)
    add_custom_command(OUTPUT ${WEB_DIR}/${to}
                       COMMAND ${CMAKE_COMMAND} -E copy ${from} ${WEB_DIR}/${to} DEPENDS ${from})
    list(APPEND WEB_PAGE_OUTPUTS ${WEB_DIR}/${to})
endforeach()
add_custom_target(web_page DEPENDS ${WEB_PAGE_OUTPUTS} ${WEB_GAME}/datafile ${WEB_LATE_WAVES})

add_executable(tsukikage_web ${CMAKE_CURRENT_SOURCE_DIR}/src/view/web/web_main.cpp)
target_link_libraries(tsukikage_web PRIVATE webview)
add_dependencies(tsukikage_web web_page)
set_target_properties(tsukikage_web PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${WEB_DIR})
# Asyncify lets a box and a picture's decoding wait inside the engine's call; its stack holds
# the engine's frames from the page's call down to the wait.
target_link_options(tsukikage_web PRIVATE -sASYNCIFY -sASYNCIFY_STACK_SIZE=131072
                    -sENVIRONMENT=web -sEXPORTED_RUNTIME_METHODS=ccall,UTF8ToString,FS
                    "SHELL:--preload-file ${WEB_GAME}@/game"
                    "SHELL:--preload-file ${WEB_PACKED_WAVES}@/packed-waves.txt")
# The game is packed anew whenever it was staged anew: the staged files keep the game's own
# times, the list of packed waves is written at each staging.
set_property(TARGET tsukikage_web APPEND PROPERTY LINK_DEPENDS ${WEB_GAME}/datafile ${WEB_PACKED_WAVES})
# The data gzipped beside it, which the page fetches and expands (web/loader.js).
add_custom_command(TARGET tsukikage_web POST_BUILD
    COMMAND ${TSUKIKAGE_SYSTEM_PYTHON} -c
            "import gzip, sys; open(sys.argv[2], 'wb').write(gzip.compress(open(sys.argv[1], 'rb').read(), 9, mtime=0))"
            ${WEB_DIR}/tsukikage_web.data ${WEB_DIR}/tsukikage_web.data.gz
    VERBATIM)
