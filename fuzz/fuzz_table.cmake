# Server frames through a whole table: the real play flow, settlement, chat
# and sound behind the dispatcher. The deck comes from the table server's
# card table.
tessaroc_add_fuzzer(fuzz_table "${CMAKE_CURRENT_LIST_DIR}/fuzz_table.cpp" tessaroc_wire
                    tessaroc_offscreen_client)
target_include_directories(fuzz_table PRIVATE "${CMAKE_CURRENT_LIST_DIR}"
                           "${PROJECT_SOURCE_DIR}/tools/tableserver")
