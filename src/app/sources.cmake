list(APPEND ORVANE_CORE_SOURCES
  src/app/Checked.cpp src/app/Checked.h
  src/app/Guard.h
  src/app/IniFile.cpp src/app/IniFile.h
  src/app/TAppPath.cpp src/app/TAppPath.h
  src/app/TextFile.cpp src/app/TextFile.h
)
list(APPEND ORVANE_UI_SOURCES
)
