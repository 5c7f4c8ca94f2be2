# Fails when a source file of orvane_core includes a widget header or a file of the user
# interface layer, or lives outside a core/ folder: the core library links QtCore and QtGui
# only, so that its tests run without a window, and the path of a file says its layer.
file(READ ${LIST_FILE} files)
set(offenders)
foreach(file IN LISTS files)
  if(NOT file MATCHES "^src/[a-z]+/core/")
    list(APPEND offenders "${file}: not in a core/ folder")
  endif()
  file(STRINGS ${SOURCE_DIR}/${file} includes REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"](QtWidgets|QtPrintSupport|QWidget|QApplication|QMainWindow|QDialog|QLabel|QPushButton|QComboBox|QCheckBox|QMenu|QAction|QTreeWidget|QSlider|QPrinter|QMessageBox|[a-z]+/ui/)")
  if(includes)
    list(APPEND offenders "${file}: ${includes}")
  endif()
endforeach()
if(offenders)
  string(REPLACE ";" "\n" offenders "${offenders}")
  message(FATAL_ERROR "orvane_core reaches above its layer:\n${offenders}")
endif()
message(STATUS "orvane_core is free of widget and user-interface includes")
