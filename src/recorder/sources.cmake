list(APPEND ORVANE_CORE_SOURCES
  src/recorder/core/RecorderMarks.cpp src/recorder/core/RecorderMarks.h
  src/recorder/core/RecorderModel.h
)
list(APPEND ORVANE_UI_SOURCES
)
list(APPEND ORVANE_UI_SOURCES src/recorder/ui/RecorderController.cpp src/recorder/ui/RecorderController.h)
