list(APPEND ORVANE_CORE_SOURCES
)
list(APPEND ORVANE_UI_SOURCES
)
list(APPEND ORVANE_UI_SOURCES src/animation/FacesController.cpp src/animation/FacesController.h)
