list(APPEND ORVANE_BENCH_SOURCES
  bench/app/StartupBench.cpp
  bench/app/ProcessStartupBench.cpp
)
