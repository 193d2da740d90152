tessaroc_add_fuzzer(fuzz_gif ${CMAKE_CURRENT_LIST_DIR}/fuzz_gif.cpp tessaroc_gif)
