# Fails when a file includes a header of a layer above its own:
#   calendar <- engine <- settings <- shell <- editors <- apps
# Calendar and engine use no Qt at all, the settings layer QtCore only. The
# command-line tool sits at the settings layer: no widgets, no shell. It may use
# the editors' file work, which is held to the same rules (WIDGET_FREE lists
# those sources; their headers go with them). merklight never uses the editors.
# Run as: cmake -DSOURCE_DIR=... -DQTCORE_DIR=... -DWIDGET_FREE=... -P check_layers.cmake
cmake_minimum_required(VERSION 3.25)

set(ranks calendar 0 engine 1 settings 2 shell 3 editors 4 apps 5)
set(settings_rank 2)

set(widget_free "")
foreach(source ${WIDGET_FREE})
  string(REGEX REPLACE "\\.cpp$" "" stem "${source}")
  list(APPEND widget_free "${stem}.cpp" "${stem}.h")
endforeach()

# The rank of a path inside the tree; -1 for anything outside the layers.
function(rank_of path out)
  if(path IN_LIST widget_free)
    set(${out} ${settings_rank} PARENT_SCOPE)
    return()
  endif()
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

# The layer a file belongs to (a test shares its area's) and the Qt it may use:
# none, core or all.
function(layer_of rel out_rank out_qt)
  string(REGEX REPLACE "^tests/" "" path "${rel}")
  if(path MATCHES "^apps/merkwald-cli/")
    set(r ${settings_rank})
  else()
    rank_of("${path}" r)
  endif()
  if(r EQUAL -1)  # test support: above everything
    set(r 5)
  endif()
  if(r LESS settings_rank)
    set(q none)
  elseif(r EQUAL settings_rank)
    set(q core)
  else()
    set(q all)
  endif()
  set(${out_rank} ${r} PARENT_SCOPE)
  set(${out_qt} ${q} PARENT_SCOPE)
endfunction()

set(patterns "")
foreach(folder calendar engine settings shell editors apps tests)
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
      elseif(qt STREQUAL "core" AND NOT header STREQUAL "QtCore"
             AND NOT EXISTS ${QTCORE_DIR}/${header})
        list(APPEND faults "${rel}: ${line}")
      endif()
    endif()
  endforeach()
endforeach()
if(faults)
  list(JOIN faults "\n" text)
  message(FATAL_ERROR "Includes that reach a layer above their own:\n${text}")
endif()
message(STATUS "Layers: ${file_count} files checked, no include reaches upwards")
