# The chat history's cost of one more line, at several lengths of history.
if(TARGET tessaroc_client)
  add_executable(chat_bench "${CMAKE_CURRENT_LIST_DIR}/chat_bench.cpp")
  target_link_libraries(chat_bench PRIVATE tessaroc_client benchmark::benchmark)
  tessaroc_warnings(chat_bench)
endif()
