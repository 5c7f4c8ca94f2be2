list(APPEND ORVANE_CORE_SOURCES
)
list(APPEND ORVANE_UI_SOURCES
)
list(APPEND ORVANE_UI_SOURCES src/animation/ui/FacesController.cpp src/animation/ui/FacesController.h)
