list(APPEND ORVANE_CORE_SOURCES
  src/practice/core/ExpectedNotes.cpp src/practice/core/ExpectedNotes.h
  src/practice/core/StrokeMatcher.cpp src/practice/core/StrokeMatcher.h
  src/practice/core/PracticeStats.cpp src/practice/core/PracticeStats.h
  src/practice/core/PracticeHistory.cpp src/practice/core/PracticeHistory.h
  src/practice/core/PracticeSettings.cpp src/practice/core/PracticeSettings.h
  src/practice/core/PracticeMarks.cpp src/practice/core/PracticeMarks.h
  src/practice/core/PracticePlots.cpp src/practice/core/PracticePlots.h
  src/practice/core/ClickSound.cpp src/practice/core/ClickSound.h
)
