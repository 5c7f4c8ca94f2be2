list(APPEND ORVANE_CORE_SOURCES
  src/practice/core/ExpectedNotes.cpp src/practice/core/ExpectedNotes.h
  src/practice/core/StrokeMatcher.cpp src/practice/core/StrokeMatcher.h
  src/practice/core/PracticeStats.cpp src/practice/core/PracticeStats.h
  src/practice/core/PracticeHistory.cpp src/practice/core/PracticeHistory.h
  src/practice/core/PracticeSettings.cpp src/practice/core/PracticeSettings.h
  src/practice/core/PracticeMarks.cpp src/practice/core/PracticeMarks.h
  src/practice/core/PracticePlots.cpp src/practice/core/PracticePlots.h
  src/practice/core/ClickSound.cpp src/practice/core/ClickSound.h
  src/practice/core/PracticeReport.cpp src/practice/core/PracticeReport.h
)
list(APPEND ORVANE_UI_SOURCES
  src/practice/ui/PracticeController.cpp src/practice/ui/PracticeController.h
  src/practice/ui/TfrmPractice.cpp src/practice/ui/TfrmPractice.h
  src/practice/ui/TfrmPracticeResult.cpp src/practice/ui/TfrmPracticeResult.h
  src/practice/ui/PracticeOverlay.cpp src/practice/ui/PracticeOverlay.h
)
