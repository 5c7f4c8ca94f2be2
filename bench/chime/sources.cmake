list(APPEND ORVANE_BENCH_SOURCES bench/chime/ParseBench.cpp)
