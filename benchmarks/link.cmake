# Speed of the link against the simulated printer. Run build/benchmarks/link_benchmarks.
if(LM360R_BENCHMARKS)
  find_package(benchmark REQUIRED)
  add_executable(link_benchmarks ${CMAKE_CURRENT_LIST_DIR}/LinkBenchmark.cpp)
  target_link_libraries(link_benchmarks PRIVATE lm360r_link lm360r_simulator benchmark::benchmark_main)
  lm360r_project_target(link_benchmarks)
endif()
