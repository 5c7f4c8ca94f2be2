list(APPEND ORVANE_CORE_SOURCES
  src/score/ScorePrimitive.h
  src/score/ScoreLayout.cpp src/score/ScoreLayout.h
  src/score/ScorePainter.cpp src/score/ScorePainter.h
  src/score/PrintPage.cpp src/score/PrintPage.h
)
list(APPEND ORVANE_UI_SOURCES
)
# The print preview window.
list(APPEND ORVANE_UI_SOURCES
  src/score/TfrmPrint.cpp src/score/TfrmPrint.h
)
list(APPEND ORVANE_UI_SOURCES src/score/ScoreController.cpp src/score/ScoreController.h)
list(APPEND ORVANE_UI_SOURCES src/score/PrintController.cpp src/score/PrintController.h)
