list(APPEND ORVANE_CORE_SOURCES
  src/help/JpegImage.cpp src/help/JpegImage.h
  src/help/LessonProgress.cpp src/help/LessonProgress.h
  src/help/LessonVoicePlayer.cpp src/help/LessonVoicePlayer.h
)
list(APPEND ORVANE_UI_SOURCES
  src/help/TAboutBox.cpp src/help/TAboutBox.h
  src/help/TfrmLesson.cpp src/help/TfrmLesson.h
)
list(APPEND ORVANE_UI_SOURCES src/help/HelpController.cpp src/help/HelpController.h)
