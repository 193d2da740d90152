# The card rules on worst-case hands: judging, beating, hints, the own play.
if(TARGET rules_test_cards)
  add_executable(rules_bench "${CMAKE_CURRENT_LIST_DIR}/rules_bench.cpp")
  target_link_libraries(rules_bench PRIVATE tessaroc_rules rules_test_cards benchmark::benchmark)
  tessaroc_warnings(rules_bench)
endif()
