# Helpers shared by every folder's CMakeLists.txt.
#
#   project_add_module(NAME SOURCES ... [DEPENDS ...] [SYSTEM_DEPENDS ...])
#     One static library per source folder. Headers are included as
#     "folder/file.h" relative to src/ (e.g. #include "platform/rtl/currency.h").
#     DEPENDS names the project's own modules the library uses.
#
#   project_check_module_dependencies(FOLDER ...)
#     Given the source folders in their build order, fails the configure step
#     when a module uses a folder that is not among its declared (transitive)
#     DEPENDS, or depends on a module whose folder is listed after its own.
#
#   project_add_tests(NAME SOURCES ... DEPENDS ... LABEL label [ENVIRONMENT VAR=value])
#     One GoogleTest executable per test folder, discovered by ctest and
#     labelled by the folder it tests (ENVIRONMENT takes one variable).

include(GoogleTest)
include(${CMAKE_CURRENT_LIST_DIR}/ModuleDependencies.cmake)

function(project_add_module name)
  cmake_parse_arguments(M "" "" "SOURCES;DEPENDS;SYSTEM_DEPENDS" ${ARGN})
  add_library(${name} STATIC ${M_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${name} PUBLIC ${M_DEPENDS} ${M_SYSTEM_DEPENDS})
  file(RELATIVE_PATH folder ${PROJECT_SOURCE_DIR}/src ${CMAKE_CURRENT_SOURCE_DIR})
  set(sources "")
  foreach(source ${M_SOURCES})
    get_filename_component(source ${source} ABSOLUTE BASE_DIR ${CMAKE_CURRENT_SOURCE_DIR})
    list(APPEND sources ${source})
  endforeach()
  set_property(GLOBAL APPEND PROPERTY PROJECT_MODULES ${name})
  set_property(GLOBAL PROPERTY PROJECT_MODULE_FOLDER_${name} ${folder})
  set_property(GLOBAL PROPERTY PROJECT_MODULE_DEPENDS_${name} ${M_DEPENDS})
  set_property(GLOBAL PROPERTY PROJECT_MODULE_SOURCES_${name} ${sources})
endfunction()

# Registers the folders in their build order and checks every module's
# dependencies against them now and at each build (see ModuleDependencies.cmake).
function(project_check_module_dependencies)
  project_module_dependency_check("${ARGN}")
  project_module_dependency_build_check("${ARGN}")
endfunction()

function(project_add_tests name)
  cmake_parse_arguments(T "" "LABEL" "SOURCES;DEPENDS;ENVIRONMENT" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/tests)
  target_link_libraries(${name} PRIVATE ${T_DEPENDS} project_test_main)
  set(props LABELS "${T_LABEL}" TIMEOUT 600)
  if(T_ENVIRONMENT)
    list(APPEND props ENVIRONMENT "${T_ENVIRONMENT}")
  endif()
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 120 PROPERTIES ${props})
endfunction()

# The shared test entry (tests/testmain.cpp) sets QT_QPA_PLATFORM=offscreen,
# PROJECT_SOURCE_DIR and PROJECT_BINARY_DIR unless they are already set.
function(project_add_test_main)
  find_package(GTest REQUIRED)
  add_library(project_test_main STATIC ${PROJECT_SOURCE_DIR}/tests/testmain.cpp)
  target_link_libraries(project_test_main PUBLIC GTest::gtest GTest::gmock)
  target_compile_definitions(project_test_main PRIVATE
    PROJECT_SOURCE_DIR_DEFAULT="${PROJECT_SOURCE_DIR}"
    PROJECT_BINARY_DIR_DEFAULT="${PROJECT_BINARY_DIR}")
endfunction()

# Adds every listed sub-folder that already has a CMakeLists.txt, so that a
# folder joins the build as soon as it holds code.
function(project_add_subdirectories)
  foreach(dir ${ARGN})
    if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/CMakeLists.txt)
      add_subdirectory(${dir})
    endif()
  endforeach()
endfunction()
