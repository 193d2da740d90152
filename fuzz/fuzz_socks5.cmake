tessaroc_add_fuzzer(fuzz_socks5 "${CMAKE_CURRENT_LIST_DIR}/fuzz_socks5.cpp" tessaroc_wire)
