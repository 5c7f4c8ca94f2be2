list(APPEND ORVANE_BENCH_SOURCES
  bench/sound/EngineBench.cpp
  bench/sound/AllocationBench.cpp
  bench/sound/OnsetHarness.cpp bench/sound/OnsetHarness.h
  bench/sound/SoundFiles.h
  bench/sound/BusyLoad.h
  bench/sound/PacedRender.h
  bench/sound/InstrumentBench.cpp bench/sound/WholeBellSet.h
  bench/sound/SequencerBench.cpp
  bench/sound/DiskRecordBench.cpp
  bench/sound/VoiceBench.cpp
)
list(APPEND ORVANE_BENCH_SOURCES bench/sound/KeyLatencyBench.cpp)
list(APPEND ORVANE_BENCH_SOURCES bench/sound/MidiLatencyBench.cpp)
