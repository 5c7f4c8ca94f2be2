list(APPEND ORVANE_CORE_SOURCES
  src/score/core/ScorePrimitive.h
  src/score/core/ScoreLayout.cpp src/score/core/ScoreLayout.h
  src/score/core/ScorePainter.cpp src/score/core/ScorePainter.h
  src/score/core/ScoreChange.cpp src/score/core/ScoreChange.h
  src/score/core/PrintPage.cpp src/score/core/PrintPage.h
  src/score/core/PrintSheet.cpp src/score/core/PrintSheet.h
)
list(APPEND ORVANE_UI_SOURCES
)
# The print preview window.
list(APPEND ORVANE_UI_SOURCES
  src/score/ui/TfrmPrint.cpp src/score/ui/TfrmPrint.h
)
list(APPEND ORVANE_UI_SOURCES src/score/ui/ScoreController.cpp src/score/ui/ScoreController.h)
list(APPEND ORVANE_UI_SOURCES src/score/ui/PrintController.cpp src/score/ui/PrintController.h)
