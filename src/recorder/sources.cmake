list(APPEND ORVANE_CORE_SOURCES
  src/recorder/RecorderMarks.cpp src/recorder/RecorderMarks.h
)
list(APPEND ORVANE_UI_SOURCES
)
list(APPEND ORVANE_UI_SOURCES src/recorder/RecorderController.cpp src/recorder/RecorderController.h)
