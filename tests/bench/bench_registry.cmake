# Reading a large settings file through TRegistry: processor time and peak memory.
add_executable(bench_registry ${CMAKE_CURRENT_LIST_DIR}/bench_registry.cpp)
target_link_libraries(bench_registry PRIVATE tlb_core)
