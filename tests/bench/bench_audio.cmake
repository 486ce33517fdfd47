# Opening WAV sounds ready to play and the time to the first sound heard.
add_executable(bench_wave_open ${CMAKE_CURRENT_LIST_DIR}/bench_wave_open.cpp)
target_link_libraries(bench_wave_open PRIVATE tlb_sdl)
# The heard position against a simulated sound card over a whole rhyme.
add_executable(bench_audible_position ${CMAKE_CURRENT_LIST_DIR}/bench_audible_position.cpp)
target_link_libraries(bench_audible_position PRIVATE tlb_ui)
