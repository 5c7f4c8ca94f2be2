list(APPEND ORVANE_BENCH_SOURCES
  bench/sound/EngineBench.cpp
  bench/sound/AllocationBench.cpp
  bench/sound/OnsetHarness.cpp bench/sound/OnsetHarness.h
  bench/sound/OnsetBench.cpp
  bench/sound/SoundFiles.h
)
