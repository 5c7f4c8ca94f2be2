list(APPEND ORVANE_BENCH_SOURCES bench/score/PageDrawBench.cpp bench/score/RedrawBench.cpp)
list(APPEND ORVANE_BENCH_SOURCES bench/score/ShownRedrawBench.cpp)
list(APPEND ORVANE_BENCH_SOURCES bench/score/PrintBench.cpp)
