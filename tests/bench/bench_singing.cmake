# The processor cost of a song in the songs program on the real backend.
add_executable(bench_singing ${CMAKE_CURRENT_LIST_DIR}/bench_singing.cpp)
target_link_libraries(bench_singing PRIVATE songs_lib tlb_sdl)
