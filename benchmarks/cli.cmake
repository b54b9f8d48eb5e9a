# Whole-process time of lm360rctl against the simulated printer.
if(LM360R_BENCHMARKS)
  find_package(benchmark REQUIRED)
  add_executable(cli_benchmark ${CMAKE_CURRENT_LIST_DIR}/CliProcessBenchmark.cpp)
  lm360r_project_target(cli_benchmark)
  target_link_libraries(cli_benchmark PRIVATE benchmark::benchmark)
  target_compile_definitions(cli_benchmark PRIVATE LM360RCTL_PATH="$<TARGET_FILE:lm360rctl>")
  add_dependencies(cli_benchmark lm360rctl)
endif()
