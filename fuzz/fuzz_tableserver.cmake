tessaroc_add_fuzzer(fuzz_tableserver "${CMAKE_CURRENT_LIST_DIR}/fuzz_tableserver.cpp" tessaroc_tableserver)
