list(APPEND ORVANE_BENCH_SOURCES bench/score/PageDrawBench.cpp)
