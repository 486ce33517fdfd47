# The mixer's processor time (offline) and the SDL output's latency; the tile's cost.
add_executable(bench_mixer ${CMAKE_CURRENT_LIST_DIR}/bench_mixer.cpp)
target_link_libraries(bench_mixer PRIVATE tlb_ui)
if(TARGET tlb_sdl)
  target_link_libraries(bench_mixer PRIVATE tlb_sdl)
  target_compile_definitions(bench_mixer PRIVATE TULIMBO_BENCH_SDL)
endif()
add_executable(bench_tile ${CMAKE_CURRENT_LIST_DIR}/bench_tile.cpp)
target_link_libraries(bench_tile PRIVATE tlb_shared tlb_headless)
# Its generated clip goes into the build tree.
target_compile_definitions(bench_tile PRIVATE TULIMBO_BUILD_DIR="${CMAKE_BINARY_DIR}")
