tessaroc_add_fuzzer(fuzz_commandline "${CMAKE_CURRENT_LIST_DIR}/fuzz_commandline.cpp" tessaroc_wire)
