# The browser build's own parts (scripts/build-web.sh configures it with
# cmake/web.cmake as the toolchain): the page glue beside the SDL backend,
# the page itself with the game's data, and tumbo-sim for node.
target_sources(tumbo_platform PRIVATE ${CMAKE_SOURCE_DIR}/platform/web/web.cpp)
# What SDL's sound code calls from the runtime by name, for every program.
target_link_options(tumbo_platform INTERFACE "SHELL:--js-library ${CMAKE_SOURCE_DIR}/platform/web/library.js")
target_compile_options(tumbo_platform PUBLIC "SHELL:-include ${CMAKE_SOURCE_DIR}/cmake/webcompat/compat.h")

set(TUMBO_WEB_PAGE ${CMAKE_SOURCE_DIR}/platform/web/shell.html)
set_target_properties(tumbo PROPERTIES SUFFIX ".html")
target_link_options(tumbo PRIVATE
  # Every screen loop stays a loop: the program is suspended at each frame.
  -sASYNCIFY -sASYNCIFY_STACK_SIZE=262144
  -sALLOW_MEMORY_GROWTH=1 -sINITIAL_MEMORY=67108864 -sENVIRONMENT=web
  -lidbfs.js "SHELL:--shell-file ${TUMBO_WEB_PAGE}" -sMINIFY_HTML=0
  "SHELL:--preload-file ${CMAKE_SOURCE_DIR}/media@/media"
  "SHELL:--preload-file ${CMAKE_SOURCE_DIR}/campaigns@/campaigns")
# The data file is packed when the page is linked: a changed level or
# picture links it again, so a second build never ships old levels.
file(GLOB_RECURSE TUMBO_WEB_DATA CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/media/* ${CMAKE_SOURCE_DIR}/campaigns/*)
set_property(TARGET tumbo APPEND PROPERTY LINK_DEPENDS ${TUMBO_WEB_PAGE} ${CMAKE_SOURCE_DIR}/platform/web/library.js
  ${TUMBO_WEB_DATA})

# The physics under node, reading and writing the real files.
add_executable(tumbo-sim ${CMAKE_SOURCE_DIR}/tools/tumbo-sim.cpp)
target_link_libraries(tumbo-sim PRIVATE tumbo_game)
target_link_options(tumbo-sim PRIVATE -sNODERAWFS=1 -sENVIRONMENT=node -sEXIT_RUNTIME=1
  -sALLOW_MEMORY_GROWTH=1 -sTOTAL_STACK=8388608)

# Debian's clang 14, optimising for WebAssembly, gets the four-lane sweeps
# wrong once it inlines across their functions (a link pack read as
# doubles, then an access out of bounds); the always-inline lane helpers
# still inline. The same bits as the native build come out this way, as the
# browser tumbo-sim's runs against the native ones show.
set_property(SOURCE ${CMAKE_SOURCE_DIR}/world/constraints_wide.cpp APPEND PROPERTY COMPILE_OPTIONS -fno-inline)
