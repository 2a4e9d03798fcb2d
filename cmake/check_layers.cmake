# Fails when a file includes a header of a layer above its own; the top folder
# is the layer:
#   calendar <- engine <- settings <- editing <- shell <- editors <- apps
# Calendar and engine use no Qt at all; settings and the record work of editing/
# QtCore and QtNetwork only, so the command-line tool, which sits at the editing
# layer, needs no widgets. merklight never uses the editors. A test shares the
# layer of the folder it mirrors.
# Run as: cmake -DSOURCE_DIR=... -DQT_CORE_DIRS=<QtCore;QtNetwork include dirs> -P check_layers.cmake
cmake_minimum_required(VERSION 3.25)

set(ranks calendar 0 engine 1 settings 2 editing 3 shell 4 editors 5 apps 6)
set(settings_rank 2)  # the lowest rank that may use Qt
set(editing_rank 3)   # the highest rank held to QtCore and QtNetwork
set(top_rank 6)
set(qt_core_modules QtCore QtNetwork)

# The rank of a path inside the tree; -1 for anything outside the layers.
function(rank_of path out)
  string(REGEX MATCH "^[^/]+" top "${path}")
  list(FIND ranks "${top}" i)
  if(i EQUAL -1)
    set(${out} -1 PARENT_SCOPE)
  else()
    math(EXPR j "${i} + 1")
    list(GET ranks ${j} r)
    set(${out} ${r} PARENT_SCOPE)
  endif()
endfunction()

# The layer a file belongs to (a test shares its folder's) and the Qt it may
# use: none, core (QtCore and QtNetwork) or all.
function(layer_of rel out_rank out_qt)
  string(REGEX REPLACE "^tests/" "" path "${rel}")
  if(path MATCHES "^apps/merkwald-cli/")
    set(r ${editing_rank})
  else()
    rank_of("${path}" r)
  endif()
  if(r EQUAL -1)  # test support: above everything
    set(r ${top_rank})
  endif()
  if(r LESS settings_rank)
    set(q none)
  elseif(r LESS_EQUAL editing_rank)
    set(q core)
  else()
    set(q all)
  endif()
  set(${out_rank} ${r} PARENT_SCOPE)
  set(${out_qt} ${q} PARENT_SCOPE)
endfunction()

# Whether a Qt header (<QString>, <QtCore/QString>, <QtNetwork>) belongs to the
# modules the lower layers may use.
function(core_header header out)
  set(found FALSE)
  if(header IN_LIST qt_core_modules)
    set(found TRUE)
  else()
    foreach(dir ${QT_CORE_DIRS})
      if(EXISTS ${dir}/${header})
        set(found TRUE)
      endif()
    endforeach()
  endif()
  set(${out} ${found} PARENT_SCOPE)
endfunction()

set(patterns "")
foreach(folder calendar engine settings editing shell editors apps tests)
  list(APPEND patterns ${SOURCE_DIR}/${folder}/*.h ${SOURCE_DIR}/${folder}/*.cpp)
endforeach()
file(GLOB_RECURSE files RELATIVE ${SOURCE_DIR} ${patterns})
list(LENGTH files file_count)

set(faults "")
foreach(rel ${files})
  layer_of("${rel}" own qt)
  file(STRINGS ${SOURCE_DIR}/${rel} lines REGEX "^[ \t]*#[ \t]*include")
  foreach(line ${lines})
    if(line MATCHES "#[ \t]*include[ \t]*\"([a-z][^\"]*)\"")
      set(included ${CMAKE_MATCH_1})
      rank_of("${included}" r)
      if(r GREATER own OR (rel MATCHES "^(tests/)?apps/merklight/" AND included MATCHES "^editors/"))
        list(APPEND faults "${rel}: ${line}")
      endif()
    elseif(line MATCHES "#[ \t]*include[ \t]*<(Q[A-Za-z]*)(/[A-Za-z]+)?>")
      set(header ${CMAKE_MATCH_1})
      if(qt STREQUAL "none")
        list(APPEND faults "${rel}: ${line}")
      elseif(qt STREQUAL "core")
        core_header(${header} ok)
        if(NOT ok)
          list(APPEND faults "${rel}: ${line}")
        endif()
      endif()
    endif()
  endforeach()
endforeach()
if(faults)
  list(JOIN faults "\n" text)
  message(FATAL_ERROR "Includes that reach a layer above their own:\n${text}")
endif()
message(STATUS "Layers: ${file_count} files checked, no include reaches upwards")
