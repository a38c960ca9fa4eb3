# Configures small source trees with the project's module helpers and checks
# that the build rule holds: a module may include only from its own folder and
# the folders of its transitive DEPENDS, and may depend only on folders listed
# before its own.
#
#   cmake -DPROJECT_DIR=<repository> -DWORK=<scratch folder> -DGENERATOR=<generator>
#         [-DMAKE_PROGRAM=<tool>] [-DCOMPILER=<c++>] -P module_dependencies_test.cmake
cmake_minimum_required(VERSION 3.25)

set(failures 0)

# Writes a tree under `dir`: the folders in their order, and for each module a
# spec "name|dep,dep|folder,folder|headerfolder": its DEPENDS, the folders its
# source includes from and the folder its header includes from.
function(write_tree dir folders)
  file(REMOVE_RECURSE ${dir})
  file(WRITE ${dir}/CMakeLists.txt
    "cmake_minimum_required(VERSION 3.25)\n"
    "project(Tree LANGUAGES CXX)\n"
    "include(${PROJECT_DIR}/cmake/ProjectModules.cmake)\n"
    "add_subdirectory(src)\n")
  file(WRITE ${dir}/src/CMakeLists.txt
    "set(folders ${folders})\n"
    "project_add_subdirectories(\${folders})\n"
    "project_check_module_dependencies(\${folders})\n")
  foreach(spec ${ARGN})
    string(REPLACE "|" ";" parts "${spec}")
    list(GET parts 0 name)
    list(GET parts 1 depends)
    list(GET parts 2 uses)
    list(GET parts 3 headerUses)
    string(REPLACE "," " " depends "${depends}")
    string(REPLACE "," ";" uses "${uses}")
    file(WRITE ${dir}/src/${name}/CMakeLists.txt "project_add_module(${name} SOURCES ${name}.cpp DEPENDS ${depends})\n")
    set(header "#pragma once\n")
    if(headerUses)
      string(APPEND header "#include \"${headerUses}/${headerUses}.h\"\n")
    endif()
    string(APPEND header "int ${name}();\n")
    file(WRITE ${dir}/src/${name}/${name}.h "${header}")
    set(source "#include \"${name}/${name}.h\"\n")
    foreach(used ${uses})
      string(APPEND source "#include \"${used}/${used}.h\"\n")
    endforeach()
    string(APPEND source "int ${name}() { return 1; }\n")
    file(WRITE ${dir}/src/${name}/${name}.cpp "${source}")
  endforeach()
endfunction()

function(run_step label expected_rc pattern)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
  set(ok TRUE)
  if(expected_rc STREQUAL "0" AND NOT rc EQUAL 0)
    set(ok FALSE)
  elseif(NOT expected_rc STREQUAL "0" AND rc EQUAL 0)
    set(ok FALSE)
  endif()
  if(ok AND pattern)
    string(REGEX REPLACE "[ \n\r\t]+" " " flat "${out}")
    if(NOT flat MATCHES "${pattern}")
      set(ok FALSE)
    endif()
  endif()
  if(NOT ok)
    message(SEND_ERROR "${label}: exit ${rc}, expected ${expected_rc}, output:\n${out}")
    math(EXPR failures "${failures} + 1")
    set(failures ${failures} PARENT_SCOPE)
  endif()
endfunction()

function(configure dir label expected_rc pattern)
  set(options -G "${GENERATOR}")
  if(MAKE_PROGRAM)
    list(APPEND options -DCMAKE_MAKE_PROGRAM=${MAKE_PROGRAM})
  endif()
  if(COMPILER)
    list(APPEND options -DCMAKE_CXX_COMPILER=${COMPILER})
  endif()
  run_step("${label}" ${expected_rc} "${pattern}" ${CMAKE_COMMAND} -S ${dir} -B ${dir}/build ${options})
  set(failures ${failures} PARENT_SCOPE)
endfunction()

# Writes a case's tree and configures it: `text` is the failure expected, or
# empty when the tree must configure.
function(check_case name folders text)
  set(dir ${WORK}/${name})
  write_tree(${dir} "${folders}" ${ARGN})
  if(text)
    configure(${dir} "${name}" 1 "${text}")
  else()
    configure(${dir} "${name}" 0 "")
  endif()
  set(failures ${failures} PARENT_SCOPE)
endfunction()

# A folder reached through a dependency's dependency may be included.
check_case(declared "low;mid;high" "" "low|||" "mid|low|low|" "high|mid|low,mid|")
check_case(undeclared "low;high"
  "src/high/high.cpp \\(high\\) includes \"low/low.h\" but low is not among its DEPENDS"
  "low|||" "high||low|")
check_case(listed_after "high;low"
  "high \\(high\\) depends on low \\(low\\), which is listed after it"
  "low|||" "high|low|low|")
check_case(header "low;high"
  "src/low/low.h \\(low\\) includes \"high/high.h\" but high is not among its DEPENDS"
  "low|||high" "high|low|low|")

# A sound tree builds; once a source includes from an undeclared folder, the
# build itself fails without a new configure.
set(dir ${WORK}/declared)
run_step("declared: build" 0 "" ${CMAKE_COMMAND} --build ${dir}/build)
file(APPEND ${dir}/src/low/low.cpp "#include \"high/high.h\"\n")
run_step("declared: build after a bad include" 1
  "src/low/low.cpp \\(low\\) includes \"high/high.h\" but high is not among its DEPENDS"
  ${CMAKE_COMMAND} --build ${dir}/build)

if(failures GREATER 0)
  message(FATAL_ERROR "${failures} step(s) failed")
endif()
