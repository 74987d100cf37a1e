# Fails when an include crosses the layers the wrong way:
#  - a Qt header outside the qt/ folders, cli/ and the window tests (tests/gui);
#  - a qt/ header included from code outside those same places;
#  - an app/ header included from core/ or a model folder (QUILLET_LOWER_DIRS).
# Usage: cmake -DQUILLET_ROOT=<source dir> "-DQUILLET_LOWER_DIRS=core;accounts;..." -P this file
cmake_minimum_required(VERSION 3.25)

set(violations "")
file(GLOB_RECURSE sources RELATIVE ${QUILLET_ROOT}
  ${QUILLET_ROOT}/*.h ${QUILLET_ROOT}/*.cpp)

foreach(rel ${sources})
  # Build folders and other trees that are not ours.
  if(rel MATCHES "^(build[^/]*|\\.[^/]*|third_party)/")
    continue()
  endif()
  string(REGEX MATCH "^[^/]+" top "${rel}")
  set(qt_allowed FALSE)
  if(rel MATCHES "(^|/)qt/" OR rel MATCHES "^cli/" OR rel MATCHES "^tests/gui/")
    set(qt_allowed TRUE)
  endif()
  set(lower FALSE)
  if(top IN_LIST QUILLET_LOWER_DIRS)
    set(lower TRUE)
  endif()

  file(STRINGS ${QUILLET_ROOT}/${rel} includes REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]")
  foreach(line ${includes})
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*[<\"]([^>\"]*)[>\"].*" "\\1" header "${line}")
    if(NOT qt_allowed)
      if(header MATCHES "^Q[A-Za-z0-9]*(/|$)" OR header MATCHES "^Qt[A-Za-z]*/")
        string(APPEND violations "  ${rel}: Qt header <${header}> outside a qt/ folder\n")
      elseif(header MATCHES "(^|/)qt/")
        string(APPEND violations "  ${rel}: includes ${header} from outside a qt/ folder\n")
      endif()
    endif()
    if(lower AND header MATCHES "^app/")
      string(APPEND violations "  ${rel}: includes ${header}, above its layer\n")
    endif()
  endforeach()
endforeach()

if(violations)
  message(FATAL_ERROR "Includes that cross the layers:\n${violations}")
endif()
list(LENGTH sources count)
message(STATUS "Layering holds over ${count} files")
