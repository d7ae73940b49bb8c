# The browser build with emscripten: the page (pomrin.html, .js, .wasm, .data) on the SDL
# backend, and the simulator for Node (pomrin-sim.js) on the headless backend. scripts/web.sh
# runs it with SDL2, SDL2_mixer and FreeType built for emscripten and the prepared data folder.
set(POMRIN_WEB_DATA "" CACHE PATH "Folder packed into the page: bmp/, wav/ and fonts/")

# Only the two places that catch the options scene's failures need exception catching.
set(POMRIN_WEB_CATCH "-sEXCEPTION_CATCHING_ALLOWED=['_Z9GameFramev','_Z9OptionRunP11OPTIONSCENE']")
target_compile_options(pomrin_core PRIVATE ${POMRIN_WEB_CATCH})
# The libraries built for emscripten live outside its sysroot, where the imported targets'
# library search does not look.
target_link_directories(pomrin_core PUBLIC ${FREETYPE_LIBRARY_DIRS} ${SDL2_LIBRARY_DIRS} ${SDL2_MIXER_LIBRARY_DIRS})
# emscripten's C++ library marks std::filesystem::u8path deprecated under C++20.
target_compile_options(pomrin_core PRIVATE -Wno-deprecated-declarations)

set(WEB_DIR ${CMAKE_SOURCE_DIR}/src/platform/web)
file(GLOB POMRIN_HEADLESS_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/platform/headless/*.cpp)
add_library(pomrin_headless STATIC ${POMRIN_HEADLESS_SOURCES})
target_include_directories(pomrin_headless PUBLIC ${CMAKE_SOURCE_DIR}/src)

# Online play: ENet built without its socket layer (scripts/web_deps.sh); its sockets are
# WebSockets to the lobby server (src/net/enet_channel.cpp over web/net/).
add_library(pomrin_enet INTERFACE)
target_include_directories(pomrin_enet INTERFACE ${CMAKE_PREFIX_PATH}/include)
target_link_libraries(pomrin_enet INTERFACE ${CMAKE_PREFIX_PATH}/lib/libenet.a)
file(GLOB POMRIN_NET_OS_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/platform/web/net/*.cpp)
list(APPEND POMRIN_NET_OS_SOURCES ${CMAKE_SOURCE_DIR}/src/net/enet_channel.cpp)
include(${CMAKE_SOURCE_DIR}/cmake/net.cmake)

# The simulator under Node reads and writes the host's files like the native one. Its loop gives
# Node's event loop a turn while a net channel is open (web/node_loop.cpp): ASYNCIFY, for the
# loop and its two callers only.
file(GLOB SIM_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tools/sim/*.cpp)
add_executable(pomrin-sim ${SIM_SOURCES} ${WEB_DIR}/node_loop.cpp)
target_link_libraries(pomrin-sim PRIVATE pomrin_netplay pomrin_core pomrin_headless)
target_compile_definitions(pomrin-sim PRIVATE POMRIN_DATA_DIR="data")
target_link_options(pomrin-sim PRIVATE ${POMRIN_WEB_CATCH} -sNODERAWFS=1 -sENVIRONMENT=node
                    -sALLOW_MEMORY_GROWTH=1 -sEXIT_RUNTIME=1 -sASYNCIFY -sASYNCIFY_IGNORE_INDIRECT=1
                    # Compiled at once from the file: this emscripten would fetch() a path under Node 18+.
                    -sWASM_ASYNC_COMPILATION=0)

# The page: the SDL backend with the page's own files and loop compiled into the program, so
# they stand in for the native ones; it draws on its canvas itself (web/display.cpp) rather
# than through SDL's renderer.
file(GLOB POMRIN_SDL_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/platform/sdl/*.cpp)
list(REMOVE_ITEM POMRIN_SDL_SOURCES ${CMAKE_SOURCE_DIR}/src/platform/sdl/display.cpp)
list(APPEND POMRIN_SDL_SOURCES ${CMAKE_SOURCE_DIR}/src/platform/web/display.cpp)
add_library(pomrin_sdl STATIC ${POMRIN_SDL_SOURCES})
target_include_directories(pomrin_sdl PUBLIC ${CMAKE_SOURCE_DIR}/src)
# By file: emcc reads -lSDL2 and -lSDL2_mixer as requests for its own downloaded ports.
target_include_directories(pomrin_sdl PUBLIC ${SDL2_INCLUDE_DIRS} ${SDL2_MIXER_INCLUDE_DIRS})
target_link_libraries(pomrin_sdl PUBLIC ${SDL2_MIXER_LIBRARY_DIRS}/libSDL2_mixer.a ${SDL2_LIBRARY_DIRS}/libSDL2.a)

add_executable(pomrin ${CMAKE_SOURCE_DIR}/src/main.cpp ${WEB_DIR}/files.cpp ${WEB_DIR}/loop.cpp ${WEB_DIR}/language.cpp ${CMAKE_SOURCE_DIR}/tools/web/probe.cpp)
set_target_properties(pomrin PROPERTIES SUFFIX ".html")
target_link_libraries(pomrin PRIVATE pomrin_netplay pomrin_core pomrin_sdl)
target_link_options(pomrin PRIVATE ${POMRIN_WEB_CATCH} -sENVIRONMENT=web -sALLOW_MEMORY_GROWTH=1
  -sINITIAL_MEMORY=33554432 -lidbfs.js -sMINIFY_HTML=0
  "-sEXPORTED_RUNTIME_METHODS=['FS']"
  --shell-file ${WEB_DIR}/shell.html --pre-js ${WEB_DIR}/pre.js
  --preload-file ${POMRIN_WEB_DATA}@/)
# SDL's audio calls these JavaScript library functions from its own script code. (A raw flag:
# CMake would escape the dollar signs of an ordinary link option for make.)
set_target_properties(pomrin PROPERTIES LINK_FLAGS
  "'-sDEFAULT_LIBRARY_FUNCS_TO_INCLUDE=[\"$autoResumeAudioContext\",\"$dynCall\"]'")
set_property(TARGET pomrin APPEND PROPERTY LINK_DEPENDS ${WEB_DIR}/shell.html ${WEB_DIR}/pre.js)
