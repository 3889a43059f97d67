# Fails when a source of the station includes a header against the layer
# directions. Run as: cmake -DSTATION_DIR=<dir> -P IncludeDirections.cmake
#
# Headers are included by bare name (the include directories come from the
# targets), so each header name is mapped to the folder that holds it, and
# every #include of a station header is checked against the folders its own
# folder may see. A folder missing from the table fails too: a new folder
# must be placed in the layers first.
cmake_minimum_required(VERSION 3.21)

if(NOT STATION_DIR)
  message(FATAL_ERROR "STATION_DIR not set")
endif()

# The folders each folder may include from (besides itself). Read bottom up:
# base <- blockedit <- model <- the model's services (program checks,
# project comparison, recovery copies) <- settings <- ui <- blockedit/dialogs
# <- the window folders and the frame <- app.
set(below_base "")
set(below_blockedit base)
set(below_model blockedit base)
set(_services check compare recovery)
foreach(service ${_services})
  set(below_${service} model blockedit base)
endforeach()
set(below_settings model blockedit base)
set(below_ui settings model blockedit base)
set(below_blockedit/dialogs ui settings model blockedit base)
set(_windows blockedit/dialogs ui settings ${_services} model blockedit base)
set(_window_folders shell simfront tableedit blockedit/window options checkwindow compare/window)
foreach(window ${_window_folders})
  set(below_${window} ${_windows})
endforeach()
set(below_app ${_window_folders} ${_windows})

file(GLOB_RECURSE _sources RELATIVE ${STATION_DIR} ${STATION_DIR}/*.h ${STATION_DIR}/*.cpp)
list(LENGTH _sources _count)
if(_count EQUAL 0)
  message(FATAL_ERROR "no sources below ${STATION_DIR}")
endif()

# Header name -> folder; a name held by two folders would make bare
# includes ambiguous.
set(_violations "")
foreach(src IN LISTS _sources)
  if(src MATCHES "\\.h$")
    get_filename_component(_name ${src} NAME)
    get_filename_component(_dir ${src} DIRECTORY)
    if(DEFINED folder_of_${_name})
      string(APPEND _violations "  ${_name} is in both ${folder_of_${_name}} and ${_dir}\n")
    endif()
    set(folder_of_${_name} ${_dir})
  endif()
endforeach()

foreach(src IN LISTS _sources)
  get_filename_component(_dir ${src} DIRECTORY)
  if(NOT DEFINED below_${_dir})
    string(APPEND _violations "  ${src}: folder ${_dir} has no place in the layers\n")
    continue()
  endif()
  file(STRINGS ${STATION_DIR}/${src} _includes REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]")
  foreach(line IN LISTS _includes)
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*[<\"]([^>\"]*)[>\"].*$" "\\1" _header "${line}")
    get_filename_component(_name "${_header}" NAME)
    if(NOT DEFINED folder_of_${_name})
      continue()  # Qt, the standard library, shared/ or the engine interface
    endif()
    set(_target ${folder_of_${_name}})
    if(_target STREQUAL _dir OR _dir STREQUAL "app")
      continue()
    endif()
    if(NOT _target IN_LIST below_${_dir})
      string(APPEND _violations "  ${src} includes ${_name} from ${_target}\n")
    endif()
  endforeach()
endforeach()

if(_violations)
  message(FATAL_ERROR "includes against the layer directions:\n${_violations}")
endif()
message(STATUS "${_count} station sources follow the layer directions")
