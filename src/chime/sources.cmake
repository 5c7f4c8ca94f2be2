list(APPEND ORVANE_CORE_SOURCES
  src/chime/TChannels.cpp src/chime/TChannels.h
)
list(APPEND ORVANE_UI_SOURCES
)
