list(APPEND ORVANE_BENCH_SOURCES bench/chime/ParseBench.cpp)
list(APPEND ORVANE_BENCH_SOURCES bench/chime/StepOnsetBench.cpp)
list(APPEND ORVANE_BENCH_SOURCES bench/chime/ExportBench.cpp)
