# One frame of each server command through the dispatcher, table window
# included (offscreen).
if(TARGET tessaroc_offscreen_client)
  add_executable(dispatch_bench "${CMAKE_CURRENT_LIST_DIR}/dispatch_bench.cpp")
  target_link_libraries(dispatch_bench PRIVATE tessaroc_offscreen_client benchmark::benchmark)
  tessaroc_warnings(dispatch_bench)
endif()
