# The link program's windows: the main window with its wizard pages, the
# wizard control and the data choice. The export itself stays headless in
# the library `link`.
find_package(Qt6 REQUIRED COMPONENTS Widgets)
project_add_module(linkui
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/wizard.cpp
    ${CMAKE_CURRENT_LIST_DIR}/mainwindow.cpp
    ${CMAKE_CURRENT_LIST_DIR}/mainwindow_init.cpp
    ${CMAKE_CURRENT_LIST_DIR}/mainwindow_pages.cpp
    ${CMAKE_CURRENT_LIST_DIR}/mainwindow_end.cpp
    ${CMAKE_CURRENT_LIST_DIR}/datachoice.cpp
    ${CMAKE_CURRENT_LIST_DIR}/wizard.h
    ${CMAKE_CURRENT_LIST_DIR}/mainwindow.h
  DEPENDS link comm dataselect dbaccess ui vcl core win rtl
  SYSTEM_DEPENDS Qt6::Widgets)
set_target_properties(linkui PROPERTIES AUTOMOC ON)
