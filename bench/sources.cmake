list(APPEND ORVANE_BENCH_SOURCES
  bench/BenchRegistry.h
)
