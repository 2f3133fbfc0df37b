# The core tests built by emscripten and run under node, each test on its own as natively.
# GoogleTest is built from Debian's sources with the browser's compiler. The tests write their
# game folders and records into emscripten's in-memory file system, the one the page gives the
# engine; the expected event table is copied into it.
set(TSUKIKAGE_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest's sources")
set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(${TSUKIKAGE_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
set_target_properties(gtest gtest_main PROPERTIES COMPILE_WARNING_AS_ERROR OFF)

# Native only: the comparison with glibc's iconv (the browser's C library has no CP932).
list(FILTER CORE_TEST_SOURCES EXCLUDE REGEX "/cp932_iconv_tests\\.cpp$")
add_executable(engine_tests ${CORE_TEST_SOURCES} ${DEMO_TEST_SOURCES})
target_include_directories(engine_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/tools/demo)
target_compile_definitions(engine_tests PRIVATE MAKE_DEMO_PROGRAM=""
                           TSUKIKAGE_GOLDEN_DIR="${CMAKE_CURRENT_SOURCE_DIR}/golden")
target_link_libraries(engine_tests PRIVATE engine gtest gtest_main)
set(event_table ${CMAKE_CURRENT_SOURCE_DIR}/golden/event_table.txt)
target_link_options(engine_tests PRIVATE -sEXIT_RUNTIME=1 "SHELL:--embed-file ${event_table}@${event_table}")
set_property(TARGET engine_tests APPEND PROPERTY LINK_DEPENDS ${event_table})
# Node 18 and later would fetch the .wasm file by URL; emscripten's loader reads it from disk.
find_program(TSUKIKAGE_NODE NAMES node nodejs REQUIRED)
set_property(TARGET engine_tests PROPERTY CROSSCOMPILING_EMULATOR ${TSUKIKAGE_NODE} --no-experimental-fetch)

# Tests that start another program (the demo generator, a writer killed mid-write, the
# program itself) need processes, which WebAssembly has not: they run natively only.
include(${CMAKE_CURRENT_SOURCE_DIR}/wasm/native_only.cmake)
list(JOIN NATIVE_ONLY_TESTS ":" native_only_filter)
include(GoogleTest)
gtest_discover_tests(engine_tests DISCOVERY_TIMEOUT 120 TEST_FILTER "-${native_only_filter}"
                     PROPERTIES TIMEOUT 300)

# A box waits in the browser while the event loop runs and the timers tick: the page's way
# (Asyncify), with the engine as it is.
add_executable(modal_wait_tests wasm/modal_wait_tests.cpp fakes/game_fixture.cpp
               fakes/recording_platform.cpp)
target_include_directories(modal_wait_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(modal_wait_tests PRIVATE webview gtest gtest_main)
target_link_options(modal_wait_tests PRIVATE -sASYNCIFY -sEXIT_RUNTIME=1)
add_test(NAME modal_wait_tests
         COMMAND ${TSUKIKAGE_NODE} --no-experimental-fetch $<TARGET_FILE:modal_wait_tests>)

# The browser view's own logic: timers, keys, the window as JSON for the page.
add_executable(web_view_tests wasm/web_view_tests.cpp wasm/kept_records_tests.cpp
               wasm/packed_waves_tests.cpp wasm/picture_version_tests.cpp
               wasm/decoded_pictures_tests.cpp wasm/text_ahead_tests.cpp)
target_include_directories(web_view_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(web_view_tests PRIVATE webview gtest gtest_main)
target_link_options(web_view_tests PRIVATE -sEXIT_RUNTIME=1)
add_test(NAME web_view_tests
         COMMAND ${TSUKIKAGE_NODE} --no-experimental-fetch $<TARGET_FILE:web_view_tests>)

# The page's line breaking, in node (wasm/text_wrap_test.js).
add_test(NAME text_wrap_tests
         COMMAND ${TSUKIKAGE_NODE} ${CMAKE_CURRENT_SOURCE_DIR}/wasm/text_wrap_test.js
                 ${PROJECT_SOURCE_DIR}/web/paint.js)

# The page in headless Chromium: the demo played with the mouse from the title to a choice,
# the canvas checked against the model (wasm/page_test.py). Skipped only without Chromium.
# Debian's Python, which has Selenium, whatever python3 comes first on the PATH.
find_program(TSUKIKAGE_SYSTEM_PYTHON python3 PATHS /usr/bin NO_DEFAULT_PATH)
add_test(NAME page_in_chromium
         COMMAND ${TSUKIKAGE_SYSTEM_PYTHON} ${CMAKE_CURRENT_SOURCE_DIR}/wasm/page_test.py
                 ${CMAKE_BINARY_DIR}/web ${TSUKIKAGE_WEB_GAME} ${CMAKE_BINARY_DIR})
set_tests_properties(page_in_chromium PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 300 RUN_SERIAL TRUE)

# The records kept in the browser across reloads, export and import, and a game folder of
# the player's own chosen with the folder picker (wasm/records_test.py).
add_test(NAME records_in_chromium
         COMMAND ${TSUKIKAGE_SYSTEM_PYTHON} ${CMAKE_CURRENT_SOURCE_DIR}/wasm/records_test.py
                 ${CMAKE_BINARY_DIR}/web ${TSUKIKAGE_WEB_GAME} ${CMAKE_BINARY_DIR})
set_tests_properties(records_in_chromium PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 300 RUN_SERIAL TRUE)
# The page's sound in headless Chromium: the looping MIDI theme asked for before any gesture
# heard after the first click and again after its end, and a wave on the voice, sampled from
# the page's audio graph (wasm/sound_test.py). Skipped only without Chromium.
add_test(NAME sound_in_chromium
         COMMAND ${TSUKIKAGE_SYSTEM_PYTHON} ${CMAKE_CURRENT_SOURCE_DIR}/wasm/sound_test.py
                 ${CMAKE_BINARY_DIR}/web)
set_tests_properties(sound_in_chromium PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 300 RUN_SERIAL TRUE)
# Self-voicing on the page, its speechSynthesis recorded (wasm/voicing_test.py).
add_test(NAME voicing_in_chromium
         COMMAND ${TSUKIKAGE_SYSTEM_PYTHON} ${CMAKE_CURRENT_SOURCE_DIR}/wasm/voicing_test.py
                 ${CMAKE_BINARY_DIR}/web ${CMAKE_BINARY_DIR})
set_tests_properties(voicing_in_chromium PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 300 RUN_SERIAL TRUE)
# The page played further: the demo to its end by clicks and by keys, the conveniences' menu
# and the settings, touch, and the transitions' frames against tests/golden (wasm/screens_test.py).
add_test(NAME screens_in_chromium
         COMMAND ${TSUKIKAGE_SYSTEM_PYTHON} ${CMAKE_CURRENT_SOURCE_DIR}/wasm/screens_test.py
                 ${CMAKE_BINARY_DIR}/web ${CMAKE_CURRENT_SOURCE_DIR}/golden ${CMAKE_BINARY_DIR})
set_tests_properties(screens_in_chromium PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 600 RUN_SERIAL TRUE)
# The page played with a game controller, the Gamepad API stood in for (wasm/gamepad_test.py).
add_test(NAME gamepad_in_chromium
         COMMAND ${TSUKIKAGE_SYSTEM_PYTHON} ${CMAKE_CURRENT_SOURCE_DIR}/wasm/gamepad_test.py
                 ${CMAKE_BINARY_DIR}/web ${CMAKE_BINARY_DIR})
set_tests_properties(gamepad_in_chromium PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 300 RUN_SERIAL TRUE)
