# The settings-file editor has no Qt; its source is built into the target.
tessaroc_add_fuzzer(fuzz_ini ${CMAKE_CURRENT_LIST_DIR}/fuzz_ini.cpp)
target_sources(fuzz_ini PRIVATE ${PROJECT_SOURCE_DIR}/src/support/ProfileText.cpp)
target_include_directories(fuzz_ini PRIVATE ${PROJECT_SOURCE_DIR}/src)
