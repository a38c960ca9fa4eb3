# The rule of the source tree: a folder may only use the folders listed before
# it, and each module names in DEPENDS the modules it uses. Every
# #include "folder/..." in a module's files must name its own folder or the
# folder of a module among its transitive DEPENDS.
#
# ProjectModules.cmake includes this file: project_add_module keeps the
# modules in global properties, and the check runs when the project is
# configured and again at each build whose sources changed. The build runs
#   cmake -DPROJECT_MODULE_REGISTRY=<file> -DSTAMP=<file> -P ModuleDependencies.cmake
# where the registry, written when configuring, sets the same properties.

if(CMAKE_SCRIPT_MODE_FILE STREQUAL CMAKE_CURRENT_LIST_FILE)
  cmake_minimum_required(VERSION 3.25)
endif()

# The folder an include path names ("platform/rtl" of "platform/rtl/x.h",
# "core" of "core/x.h"), or "" when it names none.
function(project_include_folder path out)
  if(path MATCHES "^(platform/[^/]+)/")
    set(${out} ${CMAKE_MATCH_1} PARENT_SCOPE)
  elseif(path MATCHES "^([^/]+)/")
    set(${out} ${CMAKE_MATCH_1} PARENT_SCOPE)
  else()
    set(${out} "" PARENT_SCOPE)
  endif()
endfunction()

# Appends to the list named by `list_var` each #include "folder/..." in the
# files that names one of `folders` outside `allowed`.
function(project_scan_includes who allowed folders list_var)
  set(found ${${list_var}})
  foreach(file ${ARGN})
    if(NOT EXISTS ${file})
      continue()
    endif()
    file(STRINGS ${file} lines REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
    foreach(line IN LISTS lines)
      if(NOT line MATCHES "include[ \t]*\"([^\"]+)\"")
        continue()
      endif()
      set(path ${CMAKE_MATCH_1})
      project_include_folder(${path} used)
      if(used AND used IN_LIST folders AND NOT used IN_LIST allowed)
        file(RELATIVE_PATH shown ${PROJECT_SOURCE_DIR} ${file})
        list(APPEND found "${shown} (${who}) includes \"${path}\" but ${used} is not among its DEPENDS")
      endif()
    endforeach()
  endforeach()
  set(${list_var} ${found} PARENT_SCOPE)
endfunction()

# The files of a folder: its headers and sources.
function(project_folder_files folder out)
  file(GLOB files ${PROJECT_SOURCE_DIR}/src/${folder}/*.h ${PROJECT_SOURCE_DIR}/src/${folder}/*.cpp)
  set(${out} ${files} PARENT_SCOPE)
endfunction()

# Fails (FATAL_ERROR) when a module breaks the rule; `folders` are the source
# folders in their build order.
function(project_module_dependency_check folders)
  get_property(modules GLOBAL PROPERTY PROJECT_MODULES)
  set(errors "")
  set(moduleFolders "")
  foreach(module ${modules})
    get_property(folder GLOBAL PROPERTY PROJECT_MODULE_FOLDER_${module})
    list(FIND folders ${folder} position)
    if(position LESS 0)
      list(APPEND errors "${module} is built in ${folder}, which is not in the list of folders")
    endif()
    # The direct dependencies: modules of this project in folders listed before.
    get_property(pending GLOBAL PROPERTY PROJECT_MODULE_DEPENDS_${module})
    foreach(dependency ${pending})
      get_property(known GLOBAL PROPERTY PROJECT_MODULE_FOLDER_${dependency} SET)
      if(NOT known)
        list(APPEND errors "${module} depends on ${dependency}, which is not a module of this project")
        continue()
      endif()
      get_property(other GLOBAL PROPERTY PROJECT_MODULE_FOLDER_${dependency})
      list(FIND folders ${other} otherPosition)
      if(otherPosition GREATER position)
        list(APPEND errors "${module} (${folder}) depends on ${dependency} (${other}), which is listed after it")
      endif()
    endforeach()
    # The folders it may include from: its own and those of its transitive DEPENDS.
    set(closure "")
    while(pending)
      list(POP_FRONT pending dependency)
      if(dependency IN_LIST closure)
        continue()
      endif()
      list(APPEND closure ${dependency})
      get_property(more GLOBAL PROPERTY PROJECT_MODULE_DEPENDS_${dependency})
      list(APPEND pending ${more})
    endwhile()
    set(allowed ${folder})
    foreach(dependency ${closure})
      get_property(other GLOBAL PROPERTY PROJECT_MODULE_FOLDER_${dependency})
      list(APPEND allowed ${other})
    endforeach()
    get_property(sources GLOBAL PROPERTY PROJECT_MODULE_SOURCES_${module})
    project_scan_includes(${module} "${allowed}" "${folders}" errors ${sources})
    # What the folder's modules may use together, for the files none of them lists.
    string(REPLACE "/" "_" key ${folder})
    list(APPEND allowed_${key} ${allowed})
    list(APPEND listed_${key} ${sources})
    list(APPEND modules_${key} ${module})
    if(NOT folder IN_LIST moduleFolders)
      list(APPEND moduleFolders ${folder})
    endif()
  endforeach()
  # Headers (and the sources of programs) belong to the folder as a whole.
  foreach(folder ${moduleFolders})
    string(REPLACE "/" "_" key ${folder})
    project_folder_files(${folder} files)
    if(files AND listed_${key})
      list(REMOVE_ITEM files ${listed_${key}})
    endif()
    list(JOIN modules_${key} "/" who)
    project_scan_includes(${who} "${allowed_${key}}" "${folders}" errors ${files})
  endforeach()
  if(errors)
    list(REMOVE_DUPLICATES errors)
    list(JOIN errors "\n  " text)
    message(FATAL_ERROR "Undeclared or misordered module dependencies:\n  ${text}")
  endif()
endfunction()

# Writes the registry and adds the build step that repeats the check whenever
# a file of a module changes; every module waits for it.
function(project_module_dependency_build_check folders)
  get_property(modules GLOBAL PROPERTY PROJECT_MODULES)
  set(registry "set(PROJECT_SOURCE_DIR \"${PROJECT_SOURCE_DIR}\")\n")
  string(APPEND registry "set(PROJECT_SOURCE_FOLDERS \"${folders}\")\n")
  string(APPEND registry "set_property(GLOBAL PROPERTY PROJECT_MODULES \"${modules}\")\n")
  set(inputs ${CMAKE_CURRENT_FUNCTION_LIST_FILE})
  set(moduleFolders "")
  foreach(module ${modules})
    foreach(what FOLDER DEPENDS SOURCES)
      get_property(value GLOBAL PROPERTY PROJECT_MODULE_${what}_${module})
      string(APPEND registry "set_property(GLOBAL PROPERTY PROJECT_MODULE_${what}_${module} \"${value}\")\n")
    endforeach()
    get_property(sources GLOBAL PROPERTY PROJECT_MODULE_SOURCES_${module})
    get_property(folder GLOBAL PROPERTY PROJECT_MODULE_FOLDER_${module})
    list(APPEND inputs ${sources})
    list(APPEND moduleFolders ${folder})
  endforeach()
  list(REMOVE_DUPLICATES moduleFolders)
  foreach(folder ${moduleFolders})
    project_folder_files(${folder} files)
    list(APPEND inputs ${files})
  endforeach()
  list(REMOVE_DUPLICATES inputs)
  set(file ${CMAKE_CURRENT_BINARY_DIR}/module_dependencies.cmake)
  file(CONFIGURE OUTPUT ${file} CONTENT "${registry}" @ONLY)
  set(stamp ${CMAKE_CURRENT_BINARY_DIR}/module_dependencies.stamp)
  add_custom_command(
    OUTPUT ${stamp}
    COMMAND ${CMAKE_COMMAND} -DPROJECT_MODULE_REGISTRY=${file} -DSTAMP=${stamp} -P ${CMAKE_CURRENT_FUNCTION_LIST_FILE}
    DEPENDS ${inputs} ${file}
    COMMENT "Checking the modules' dependencies"
    VERBATIM)
  add_custom_target(module_dependencies DEPENDS ${stamp})
  foreach(module ${modules})
    add_dependencies(${module} module_dependencies)
  endforeach()
endfunction()

if(CMAKE_SCRIPT_MODE_FILE STREQUAL CMAKE_CURRENT_LIST_FILE)
  include(${PROJECT_MODULE_REGISTRY})
  project_module_dependency_check("${PROJECT_SOURCE_FOLDERS}")
  file(TOUCH ${STAMP})
endif()
