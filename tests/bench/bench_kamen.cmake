# Rock-paper-scissors: the speech queue's gap between files and the idle play field.
add_executable(bench_kamen ${CMAKE_CURRENT_LIST_DIR}/bench_kamen.cpp)
target_link_libraries(bench_kamen PRIVATE games_lib tlb_sdl)
