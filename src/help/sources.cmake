list(APPEND ORVANE_CORE_SOURCES
  src/help/core/JpegImage.cpp src/help/core/JpegImage.h
  src/help/core/LessonProgress.cpp src/help/core/LessonProgress.h
  src/help/core/LessonVoicePlayer.cpp src/help/core/LessonVoicePlayer.h
)
list(APPEND ORVANE_UI_SOURCES
  src/help/ui/TAboutBox.cpp src/help/ui/TAboutBox.h
  src/help/ui/TfrmLesson.cpp src/help/ui/TfrmLesson.h
)
list(APPEND ORVANE_UI_SOURCES src/help/ui/HelpController.cpp src/help/ui/HelpController.h)
