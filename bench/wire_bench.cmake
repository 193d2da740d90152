# The wire's per-byte and per-frame work: receiving, queueing, reading text.
add_executable(wire_bench "${CMAKE_CURRENT_LIST_DIR}/wire_bench.cpp")
target_link_libraries(wire_bench PRIVATE tessaroc_wire benchmark::benchmark benchmark::benchmark_main)
tessaroc_warnings(wire_bench)
