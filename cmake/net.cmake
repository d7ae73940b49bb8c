# The online-play libraries, for the native builds and the browser's. Needs the pomrin_enet target
# and POMRIN_NET_OS_SOURCES (the platform's part, src/platform/plat_net.h).
# pomrin_net is the transport (session, messages, inputs, lobby); pomrin_netplay the rollback
# session driver, net records and the game's net flags, which run the game's frames.
file(GLOB POMRIN_NET_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/net/*.cpp)
set(POMRIN_NETPLAY_SOURCES ${POMRIN_NET_SOURCES})
list(FILTER POMRIN_NET_SOURCES EXCLUDE REGEX "/(net_(play|record|entry)[^/]*|enet_channel)\\.cpp$")
list(FILTER POMRIN_NETPLAY_SOURCES INCLUDE REGEX "/net_(play|record|entry)[^/]*\\.cpp$")
add_library(pomrin_net STATIC ${POMRIN_NET_SOURCES} ${POMRIN_NET_OS_SOURCES})
target_include_directories(pomrin_net PUBLIC ${CMAKE_SOURCE_DIR}/src)
target_link_libraries(pomrin_net PRIVATE pomrin_enet)
add_library(pomrin_netplay STATIC ${POMRIN_NETPLAY_SOURCES})
target_include_directories(pomrin_netplay PUBLIC ${CMAKE_SOURCE_DIR}/src)
# The lobby server a distribution builds in (HOST[:PORT]); players may set another.
set(POMRIN_DEFAULT_LOBBY "" CACHE STRING "Lobby server used when none is given or saved")
target_compile_definitions(pomrin_netplay PRIVATE POMRIN_VERSION="${PROJECT_VERSION}"
                           POMRIN_DEFAULT_LOBBY="${POMRIN_DEFAULT_LOBBY}")
target_link_libraries(pomrin_netplay PUBLIC pomrin_net)
