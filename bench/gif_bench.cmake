# Decode-and-compose throughput against giflib (a benchmark-only dependency).
find_package(GIF REQUIRED)
add_executable(gif_bench ${CMAKE_CURRENT_LIST_DIR}/gif_bench.cpp)
tessaroc_warnings(gif_bench)
target_link_libraries(gif_bench PRIVATE tessaroc_gif GIF::GIF benchmark::benchmark)
