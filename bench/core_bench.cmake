# The main loop's cost: one tick with nothing to do, and one that sends and
# dispatches a frame.
if(TARGET tessaroc_client)
  add_executable(core_bench "${CMAKE_CURRENT_LIST_DIR}/core_bench.cpp")
  target_link_libraries(core_bench PRIVATE tessaroc_client benchmark::benchmark)
  target_include_directories(core_bench PRIVATE "${PROJECT_SOURCE_DIR}/tests/core"
                                                "${PROJECT_SOURCE_DIR}/tests/common")
  tessaroc_warnings(core_bench)
endif()
