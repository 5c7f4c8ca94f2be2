list(APPEND ORVANE_CORE_SOURCES
  src/catalogue/BellSet.cpp src/catalogue/BellSet.h
  src/catalogue/DataFileCheck.cpp src/catalogue/DataFileCheck.h
  src/catalogue/ListFile.cpp src/catalogue/ListFile.h
  src/catalogue/TBellData.cpp src/catalogue/TBellData.h
  src/catalogue/TSoundData.cpp src/catalogue/TSoundData.h
  src/catalogue/VariantTable.cpp src/catalogue/VariantTable.h
  src/catalogue/BellSetRules.cpp src/catalogue/BellSetRules.h
  src/catalogue/ChimeFilter.cpp src/catalogue/ChimeFilter.h
)
list(APPEND ORVANE_UI_SOURCES
)
list(APPEND ORVANE_UI_SOURCES src/catalogue/BellSetController.cpp src/catalogue/BellSetController.h)
list(APPEND ORVANE_UI_SOURCES src/catalogue/GroupsController.cpp src/catalogue/GroupsController.h)
