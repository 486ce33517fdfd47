# What the programs cost a sound server of the benchmark's own, and how quickly a sound starts on it.
if(TARGET test_pulse_daemon)
  add_executable(bench_sound_server ${CMAKE_CURRENT_LIST_DIR}/bench_sound_server.cpp)
  target_link_libraries(bench_sound_server PRIVATE tlb_sdl test_pulse_daemon)
  add_dependencies(bench_sound_server tq2_hry melim32 lymbal)
  target_compile_definitions(bench_sound_server PRIVATE
    TULIMBO_GAMES_BIN="$<TARGET_FILE:tq2_hry>" TULIMBO_SONGS_BIN="$<TARGET_FILE:melim32>"
    TULIMBO_RHYMES_BIN="$<TARGET_FILE:lymbal>" TULIMBO_BENCH_SERVER_DIR="${CMAKE_BINARY_DIR}/bench-pulse")
  # The output for quick sounds: sounds heard whole, how quickly they start, what it costs.
  add_executable(bench_quick_sounds ${CMAKE_CURRENT_LIST_DIR}/bench_quick_sounds.cpp)
  target_link_libraries(bench_quick_sounds PRIVATE tlb_sdl test_pulse_daemon)
  add_dependencies(bench_quick_sounds tq2_hry)
  target_compile_definitions(bench_quick_sounds PRIVATE
    TULIMBO_GAMES_BIN="$<TARGET_FILE:tq2_hry>" TULIMBO_BENCH_SERVER_DIR="${CMAKE_BINARY_DIR}/bench-pulse")
endif()
