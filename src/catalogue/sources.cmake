list(APPEND ORVANE_CORE_SOURCES
  src/catalogue/core/BellSet.cpp src/catalogue/core/BellSet.h
  src/catalogue/core/BellSetModel.h
  src/catalogue/core/DataFileCheck.cpp src/catalogue/core/DataFileCheck.h
  src/catalogue/core/ListFile.cpp src/catalogue/core/ListFile.h
  src/catalogue/core/TBellData.cpp src/catalogue/core/TBellData.h
  src/catalogue/core/TSoundData.cpp src/catalogue/core/TSoundData.h
  src/catalogue/core/VariantTable.cpp src/catalogue/core/VariantTable.h
  src/catalogue/core/BellSetRules.cpp src/catalogue/core/BellSetRules.h
  src/catalogue/core/ChimeFilter.cpp src/catalogue/core/ChimeFilter.h
)
list(APPEND ORVANE_UI_SOURCES
)
list(APPEND ORVANE_UI_SOURCES src/catalogue/ui/BellSetController.cpp src/catalogue/ui/BellSetController.h)
list(APPEND ORVANE_UI_SOURCES src/catalogue/ui/GroupsController.cpp src/catalogue/ui/GroupsController.h)
list(APPEND ORVANE_UI_SOURCES src/catalogue/ui/GroupsListener.h)
