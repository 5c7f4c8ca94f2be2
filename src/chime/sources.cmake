list(APPEND ORVANE_CORE_SOURCES
  src/chime/core/ChimeScore.cpp src/chime/core/ChimeScore.h
  src/chime/core/ChimeScoreObserver.h
  src/chime/core/GroupSplitter.cpp src/chime/core/GroupSplitter.h
  src/chime/core/LargeStorage.cpp src/chime/core/LargeStorage.h
  src/chime/core/ScoreText.cpp src/chime/core/ScoreText.h
  src/chime/core/ShortTextPool.cpp src/chime/core/ShortTextPool.h
  src/chime/core/StepPlan.cpp src/chime/core/StepPlan.h
  src/chime/core/SequencePlanner.cpp src/chime/core/SequencePlanner.h
  src/chime/core/TChannels.cpp src/chime/core/TChannels.h
  src/chime/core/Transport.cpp src/chime/core/Transport.h
  src/chime/core/TransportModel.h
  src/chime/core/TransportRequests.h
)
list(APPEND ORVANE_UI_SOURCES
)
# Windows of the chime library.
list(APPEND ORVANE_UI_SOURCES
  src/chime/ui/TfrmSelSound.cpp src/chime/ui/TfrmSelSound.h
  src/chime/ui/TfrmSoundSaveDlg.cpp src/chime/ui/TfrmSoundSaveDlg.h
)
list(APPEND ORVANE_UI_SOURCES src/chime/ui/PlayerController.cpp src/chime/ui/PlayerController.h)
list(APPEND ORVANE_UI_SOURCES src/chime/ui/LibraryController.cpp src/chime/ui/LibraryController.h)
list(APPEND ORVANE_UI_SOURCES src/chime/ui/CasualController.cpp src/chime/ui/CasualController.h)
list(APPEND ORVANE_CORE_SOURCES src/chime/core/ChimeSaver.cpp src/chime/core/ChimeSaver.h)
list(APPEND ORVANE_CORE_SOURCES
  src/chime/core/CasualDraw.cpp src/chime/core/CasualDraw.h
  src/chime/core/CustomChime.cpp src/chime/core/CustomChime.h
  src/chime/core/StepClock.cpp src/chime/core/StepClock.h
)
list(APPEND ORVANE_CORE_SOURCES src/chime/core/ChimeNameCheck.cpp src/chime/core/ChimeNameCheck.h)
list(APPEND ORVANE_CORE_SOURCES src/chime/core/ChimeExporter.cpp src/chime/core/ChimeExporter.h)
list(APPEND ORVANE_UI_SOURCES src/chime/ui/ExportController.cpp src/chime/ui/ExportController.h)
list(APPEND ORVANE_UI_SOURCES src/chime/ui/ChimeLibrarySource.h src/chime/ui/CombinationSource.h)
