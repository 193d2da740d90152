tessaroc_add_fuzzer(fuzz_receive "${CMAKE_CURRENT_LIST_DIR}/fuzz_receive.cpp" tessaroc_wire
                    tessaroc_offscreen_client)
target_sources(fuzz_receive PRIVATE "${CMAKE_CURRENT_LIST_DIR}/ReceiveDispatch.cpp")
target_include_directories(fuzz_receive PRIVATE "${CMAKE_CURRENT_LIST_DIR}")
