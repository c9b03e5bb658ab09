# Fails when a source of src/ includes a folder its layer may not see, or when the core (every
# folder but app/ and the qt/ folders) includes a Qt header. Run at every build; the
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

file(GLOB_RECURSE sources "${SOURCE_DIR}/*.h" "${SOURCE_DIR}/*.cpp")
set(offences "")
foreach(file IN LISTS sources)
  file(RELATIVE_PATH rel "${SOURCE_DIR}" "${file}")
  string(REGEX MATCH "^[^/]+" folder "${rel}")
  set(core TRUE)
  if(rel MATCHES "/qt/" OR folder STREQUAL "app")
    set(core FALSE)
  endif()

  # What this file may include.
  if(core)
    set(allowed ${folder} ${below_${folder}})
  elseif(folder STREQUAL "app")
    set(allowed app widgets ${core_layers})
    list(REMOVE_ITEM allowed cli)
  else()
    # A window-system adapter: the core below the executables, the shared widgets, its own
    # qt/ folder, and the drawing adapters of results and report that both programs share.
    set(allowed widgets ${core_layers})
    list(REMOVE_ITEM allowed cli)
  endif()

  file(STRINGS "${file}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]")
  foreach(line IN LISTS includes)
    if(line MATCHES "#[ \t]*include[ \t]*<(Q[A-Za-z]*)")
      if(core)
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
      continue()
    endif()
    # The window-system side of a layer is not the core's to see, nor another adapter's; the
    # programs' start (app/, tallora-cli's main) puts the adapters together.
    if(inner MATCHES "^qt/" AND NOT folder STREQUAL "app" AND NOT rel STREQUAL "cli/main.cpp")
      set(own FALSE)
      if(NOT core AND rel MATCHES "^${target}/qt/")
        set(own TRUE)
      endif()
      if(NOT core AND rel MATCHES "^report/qt/" AND target STREQUAL "results")
        set(own TRUE)
      endif()
      # The shared widgets are there for every window.
      if(NOT core AND target STREQUAL "widgets")
        set(own TRUE)
      endif()
      if(NOT own)
        list(APPEND offences "${rel}: includes ${target}/${inner}, another layer's window side")
      endif()
    endif()
  endforeach()
endforeach()

if(offences)
  list(JOIN offences "\n  " text)
  message(FATAL_ERROR "Layering broken:\n  ${text}")
endif()
