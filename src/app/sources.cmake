list(APPEND ORVANE_CORE_SOURCES
  src/app/core/BackgroundFaultIn.cpp src/app/core/BackgroundFaultIn.h
  src/app/core/Checked.cpp src/app/core/Checked.h
  src/app/core/FontConfigWarmup.cpp src/app/core/FontConfigWarmup.h
  src/app/core/Guard.cpp src/app/core/Guard.h
  src/app/core/HeapReserve.cpp src/app/core/HeapReserve.h
  src/app/core/IniFile.cpp src/app/core/IniFile.h
  src/app/core/LibraryInstaller.cpp src/app/core/LibraryInstaller.h
  src/app/core/InstallerRun.cpp src/app/core/InstallerRun.h
  src/app/core/PictureFile.cpp src/app/core/PictureFile.h
  src/app/core/ProgramInfo.cpp src/app/core/ProgramInfo.h
  src/app/core/MainCaption.h
  src/app/core/ModelValue.h
  src/app/core/ProgramData.h
  src/app/core/Rounding.h
  src/app/core/SessionBus.cpp src/app/core/SessionBus.h
  src/app/core/StartupTrace.cpp src/app/core/StartupTrace.h
  src/app/core/TAppPath.cpp src/app/core/TAppPath.h
  src/app/core/TextFile.cpp src/app/core/TextFile.h
  src/app/core/ViewModel.h
  src/app/core/ViewRequests.h
  src/app/core/WindowBounds.cpp src/app/core/WindowBounds.h
)
list(APPEND ORVANE_UI_SOURCES
  src/app/ui/AlignLayout.cpp src/app/ui/AlignLayout.h
  src/app/ui/BackBufferReserve.cpp src/app/ui/BackBufferReserve.h
  src/app/ui/ControllerWidgets.cpp src/app/ui/ControllerWidgets.h
  src/app/ui/LayoutController.cpp src/app/ui/LayoutController.h
  src/app/ui/MainForm.cpp src/app/ui/MainForm.h
  src/app/ui/ProgramStyle.cpp src/app/ui/ProgramStyle.h
  src/app/ui/SettingsController.cpp src/app/ui/SettingsController.h
  src/app/ui/SignalBridge.cpp src/app/ui/SignalBridge.h
  src/app/ui/SingleInstance.cpp src/app/ui/SingleInstance.h
  src/app/ui/TImage.cpp src/app/ui/TImage.h
  src/app/ui/TPanel.cpp src/app/ui/TPanel.h
  src/app/ui/TSlider.cpp src/app/ui/TSlider.h
  src/app/ui/TfrmMain.cpp src/app/ui/TfrmMain.h
)
# The version that "orvane --version" prints.
set_source_files_properties(src/app/core/ProgramInfo.cpp PROPERTIES COMPILE_DEFINITIONS
                            ORVANE_VERSION="${PROJECT_VERSION}")
list(APPEND ORVANE_UI_SOURCES src/app/ui/WindowFrameFit.cpp src/app/ui/WindowFrameFit.h)
