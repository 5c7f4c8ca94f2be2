list(APPEND ORVANE_CORE_SOURCES
  src/app/Checked.cpp src/app/Checked.h
  src/app/Guard.h
  src/app/IniFile.cpp src/app/IniFile.h
  src/app/LibraryInstaller.cpp src/app/LibraryInstaller.h
  src/app/Rounding.h
  src/app/TAppPath.cpp src/app/TAppPath.h
  src/app/TextFile.cpp src/app/TextFile.h
)
list(APPEND ORVANE_UI_SOURCES
  src/app/AlignLayout.cpp src/app/AlignLayout.h
  src/app/LayoutController.cpp src/app/LayoutController.h
  src/app/MainForm.cpp src/app/MainForm.h
  src/app/SettingsController.cpp src/app/SettingsController.h
  src/app/SignalBridge.cpp src/app/SignalBridge.h
  src/app/SingleInstance.cpp src/app/SingleInstance.h
  src/app/TImage.cpp src/app/TImage.h
  src/app/TPanel.cpp src/app/TPanel.h
  src/app/TSlider.cpp src/app/TSlider.h
  src/app/TfrmMain.cpp src/app/TfrmMain.h
)
