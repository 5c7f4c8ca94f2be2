list(APPEND ORVANE_CORE_SOURCES
  src/chime/ChimeScore.cpp src/chime/ChimeScore.h
  src/chime/ChimeScoreObserver.h
  src/chime/ScoreText.cpp src/chime/ScoreText.h
  src/chime/StepPlan.cpp src/chime/StepPlan.h
  src/chime/TChannels.cpp src/chime/TChannels.h
  src/chime/Transport.cpp src/chime/Transport.h
)
list(APPEND ORVANE_UI_SOURCES
)
# Windows of the chime library.
list(APPEND ORVANE_UI_SOURCES
  src/chime/TfrmSelSound.cpp src/chime/TfrmSelSound.h
  src/chime/TfrmSoundSaveDlg.cpp src/chime/TfrmSoundSaveDlg.h
)
list(APPEND ORVANE_UI_SOURCES src/chime/PlayerController.cpp src/chime/PlayerController.h)
list(APPEND ORVANE_UI_SOURCES src/chime/LibraryController.cpp src/chime/LibraryController.h)
list(APPEND ORVANE_UI_SOURCES src/chime/CasualController.cpp src/chime/CasualController.h)
list(APPEND ORVANE_CORE_SOURCES src/chime/ChimeSaver.cpp src/chime/ChimeSaver.h)
list(APPEND ORVANE_CORE_SOURCES
  src/chime/CasualDraw.cpp src/chime/CasualDraw.h
  src/chime/CustomChime.cpp src/chime/CustomChime.h
  src/chime/StepClock.cpp src/chime/StepClock.h
)
