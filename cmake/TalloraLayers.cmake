# Each folder of src/ is a layer: a library that links the layers below it. A layer's include
# root holds only its own folder (a link to it), so a file can include a header of another layer
# only when its target links that layer: an include of a higher layer does not compile.
function(tallora_include_root target folder)
  set(root "${PROJECT_BINARY_DIR}/include/${folder}")
  if(NOT EXISTS "${root}/${folder}")
    file(MAKE_DIRECTORY "${root}")
    file(CREATE_LINK "${PROJECT_SOURCE_DIR}/src/${folder}" "${root}/${folder}" SYMBOLIC)
  endif()
  target_include_directories(${target} PUBLIC "${root}")
endfunction()

# tallora_layer(TARGET FOLDER [LINKS targets...] SOURCES files...)
function(tallora_layer target folder)
  cmake_parse_arguments(LAYER "" "" "LINKS;SOURCES" ${ARGN})
  add_library(${target} STATIC ${LAYER_SOURCES})
  # The core has no Qt classes for moc to see.
  set_target_properties(${target} PROPERTIES AUTOMOC OFF AUTORCC OFF AUTOUIC OFF)
  tallora_include_root(${target} ${folder})
  target_link_libraries(${target} PUBLIC ${LAYER_LINKS})
endfunction()
