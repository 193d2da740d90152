add_executable(bench_wire "${CMAKE_CURRENT_LIST_DIR}/WireBench.cpp")
target_link_libraries(bench_wire PRIVATE tessaroc_wire benchmark::benchmark benchmark::benchmark_main)
tessaroc_warnings(bench_wire)
