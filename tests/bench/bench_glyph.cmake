# The glyph button: a repaint from cached state pictures, and the building of all five pictures.
add_executable(bench_glyph ${CMAKE_CURRENT_LIST_DIR}/bench_glyph.cpp)
target_link_libraries(bench_glyph PRIVATE tlb_shared tlb_headless)
