# One frame step of the animated picture on the GIF files of the tests that
# push the model's bounds.
add_executable(gif_step_bench ${CMAKE_CURRENT_LIST_DIR}/gif_step_bench.cpp)
tessaroc_warnings(gif_step_bench)
target_include_directories(gif_step_bench PRIVATE ${PROJECT_SOURCE_DIR}/tests/gif)
target_link_libraries(gif_step_bench PRIVATE tessaroc_gif benchmark::benchmark)
