# Fails when a source of src/ includes a folder its layer may not see, or when the core (every
# folder but platform/, gui/ and app/) includes a Qt header. Run at every build; the
# include roots of the layers' targets make most wrong includes fail to compile as well, and this
# check names the rule that was broken.
#   cmake -DSOURCE_DIR=.../src -P CheckLayers.cmake

# Each core layer and the layers below it, which it may include.
set(below_job "")
set(below_engine job)
set(below_results engine job)
set(below_entry results engine job)
set(below_costing results engine job)
set(below_storage entry costing results engine job)
set(below_report results engine job)
set(below_inventory storage entry costing results engine job)
set(below_commands inventory storage report entry costing results engine job)
set(below_cli commands inventory storage report entry costing results engine job)
set(core_layers job engine results entry costing storage report inventory commands cli)

# Above the core: the Qt adapters of the ports, the windows, the desktop's start.
set(below_platform ${core_layers})
list(REMOVE_ITEM below_platform cli)
set(below_gui platform ${below_platform})
set(below_app gui ${below_gui})
set(qt_layers platform gui app)

file(GLOB_RECURSE sources "${SOURCE_DIR}/*.h" "${SOURCE_DIR}/*.cpp")
set(offences "")
foreach(file IN LISTS sources)
  file(RELATIVE_PATH rel "${SOURCE_DIR}" "${file}")
  string(REGEX MATCH "^[^/]+" folder "${rel}")
  list(FIND qt_layers "${folder}" qt_index)

  # What this file may include. tallora-cli's start puts the platform's adapters in.
  set(allowed ${folder} ${below_${folder}})
  if(rel STREQUAL "cli/main.cpp")
    list(APPEND allowed platform)
  endif()

  file(STRINGS "${file}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]")
  foreach(line IN LISTS includes)
    if(line MATCHES "#[ \t]*include[ \t]*<(Q[A-Za-z]*)")
      if(qt_index EQUAL -1)
        list(APPEND offences "${rel}: the core includes the window system (<${CMAKE_MATCH_1}>)")
      endif()
      continue()
    endif()
    if(NOT line MATCHES "#[ \t]*include[ \t]*\"([^\"/]+)/([^\"]*)\"")
      continue()
    endif()
    set(target "${CMAKE_MATCH_1}")
    set(inner "${CMAKE_MATCH_2}")
    list(FIND allowed "${target}" index)
    if(index EQUAL -1)
      list(APPEND offences "${rel}: includes ${target}/${inner}, a layer above or beside its own")
    endif()
  endforeach()
endforeach()

if(offences)
  list(JOIN offences "\n  " text)
  message(FATAL_ERROR "Layering broken:\n  ${text}")
endif()
