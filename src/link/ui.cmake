# The link program's windows: the main window with its wizard pages, the
# wizard control and the data choice. The export itself stays headless in
# the library `link`.
find_package(Qt6 REQUIRED COMPONENTS Widgets)
add_library(linkui STATIC
  ${CMAKE_CURRENT_LIST_DIR}/wizard.cpp
  ${CMAKE_CURRENT_LIST_DIR}/mainwindow.cpp
  ${CMAKE_CURRENT_LIST_DIR}/mainwindow_init.cpp
  ${CMAKE_CURRENT_LIST_DIR}/mainwindow_pages.cpp
  ${CMAKE_CURRENT_LIST_DIR}/mainwindow_end.cpp
  ${CMAKE_CURRENT_LIST_DIR}/datachoice.cpp
  ${CMAKE_CURRENT_LIST_DIR}/wizard.h
  ${CMAKE_CURRENT_LIST_DIR}/mainwindow.h)
target_include_directories(linkui PUBLIC ${PROJECT_SOURCE_DIR}/src)
target_link_libraries(linkui PUBLIC link comm dataselect dbaccess ui vcl core win rtl Qt6::Widgets)
set_target_properties(linkui PROPERTIES AUTOMOC ON)
