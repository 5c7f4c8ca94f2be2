list(APPEND ORVANE_CORE_SOURCES
  src/sound/MciInterface.h src/sound/OutputGain.h
)
list(APPEND ORVANE_UI_SOURCES
)
