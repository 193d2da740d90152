tessaroc_add_fuzzer(fuzz_receive "${CMAKE_CURRENT_LIST_DIR}/fuzz_receive.cpp" tessaroc_wire)
