list(APPEND ORVANE_BENCH_SOURCES bench/practice/PracticeMatchBench.cpp bench/practice/PracticeTimingBench.cpp)
