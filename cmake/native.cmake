# Native build: the core's unit tests and benchmarks.
if(ZURIMO_TESTS)
  find_package(GTest REQUIRED)
  add_executable(unit_tests
    tests/unit/registry_contract_test.cpp
    tests/unit/registry_test.cpp
    tests/unit/reg_changes_test.cpp
    tests/unit/saved_history_test.cpp
    tests/unit/settings_test.cpp
    tests/unit/history_list_test.cpp
    tests/unit/history_file_test.cpp
    tests/unit/hot_key_rules_test.cpp
    tests/unit/transforms_test.cpp
    tests/unit/capture_rules_test.cpp
    tests/unit/list_keys_test.cpp
    tests/unit/options_model_test.cpp
    tests/unit/menu_test.cpp
    tests/unit/shellext_test.cpp
    tests/unit/find_test.cpp
    tests/unit/wide_text_test.cpp
  )
  target_link_libraries(unit_tests PRIVATE zurimo_test_support GTest::gtest GTest::gtest_main)
endif()

if(NOT ZURIMO_SANITIZE)
  find_package(benchmark QUIET)
  if(benchmark_FOUND)
    add_executable(history_bench bench/history_bench.cpp)
    target_link_libraries(history_bench PRIVATE zurimo_test_support benchmark::benchmark)
    add_executable(shellext_bench bench/shellext_bench.cpp)
    target_link_libraries(shellext_bench PRIVATE zurimo_test_support benchmark::benchmark)
  endif()
endif()
