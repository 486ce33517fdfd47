# The processor cost of a rhyme in the rhymes program on the real backend.
add_executable(bench_rhyme ${CMAKE_CURRENT_LIST_DIR}/bench_rhyme.cpp)
target_link_libraries(bench_rhyme PRIVATE rhymes_lib tlb_sdl)
