# The layers of the source tree, enforced by the build.
#
# Include lines name a folder from the top of src/ ("geometry/point.h", "core/geometry/part.h") or
# of engine/src/ ("model/value.h"). Each layer's target compiles against an include root of its
# own, made here under <build>/layers/<target>/, that holds only symbolic links to the folders the
# layer may see: its own and those of the layers below it. An include that reaches upward names a
# folder missing from that root and fails to build.
#
# Every layer target also compiles one generated file that includes each of its folder's headers,
# so that a header-only folder (base) and headers no source of the layer includes are held to the
# same rule.

# Where a folder named in an include line lives.
function(_vornix_folder_source folder out)
  if(folder STREQUAL "corvane")
    set(${out} ${PROJECT_SOURCE_DIR}/include/corvane PARENT_SCOPE)
  elseif(folder MATCHES "^engine/(.*)$")
    set(${out} ${PROJECT_SOURCE_DIR}/engine/src/${CMAKE_MATCH_1} PARENT_SCOPE)
  else()
    set(${out} ${PROJECT_SOURCE_DIR}/src/${folder} PARENT_SCOPE)
  endif()
endfunction()

# The name a folder has in include lines ("engine/model" is included as "model/...").
function(_vornix_include_name folder out)
  string(REGEX REPLACE "^engine/" "" name "${folder}")
  set(${out} ${name} PARENT_SCOPE)
endfunction()

# vornix_layer(<target> [FOLDERS <folder>...] [BELOW <layer target>...])
#
# Gives <target> an include root with its own FOLDERS and every folder visible to the BELOW
# layers, and links it to them. Folders are "base", "geometry", "core/geometry", "python/utils",
# "corvane" (the engine's C interface) or "engine/<folder>" (a folder of engine/src). A target
# with FOLDERS is a layer: it gets the headers check, and others may name it in BELOW.
function(vornix_layer target)
  cmake_parse_arguments(LAYER "" "" "FOLDERS;BELOW" ${ARGN})
  set(visible ${LAYER_FOLDERS})
  foreach(below ${LAYER_BELOW})
    get_target_property(below_visible ${below} VORNIX_VISIBLE_FOLDERS)
    list(APPEND visible ${below_visible})
  endforeach()
  list(REMOVE_DUPLICATES visible)
  set_property(TARGET ${target} PROPERTY VORNIX_VISIBLE_FOLDERS ${visible})
  # A folder inside a visible folder is there already ("python" holds "python/utils").
  set(links ${visible})
  foreach(folder ${visible})
    foreach(other ${visible})
      if(other MATCHES "^${folder}/")
        list(REMOVE_ITEM links ${other})
      endif()
    endforeach()
  endforeach()

  set(root ${CMAKE_BINARY_DIR}/layers/${target})
  file(REMOVE_RECURSE ${root})
  foreach(folder ${links})
    _vornix_folder_source(${folder} source)
    _vornix_include_name(${folder} name)
    get_filename_component(parent ${root}/${name} DIRECTORY)
    file(MAKE_DIRECTORY ${parent})
    file(CREATE_LINK ${source} ${root}/${name} SYMBOLIC)
  endforeach()
  target_include_directories(${target} PRIVATE ${root})
  if(LAYER_BELOW)
    target_link_libraries(${target} PUBLIC ${LAYER_BELOW})
  endif()

  if(LAYER_FOLDERS)
    set(check ${CMAKE_BINARY_DIR}/layers/${target}_headers.cpp)
    set(lines "// Generated: every header of the layer, compiled against the layer's own include root.\n")
    foreach(folder ${LAYER_FOLDERS})
      _vornix_folder_source(${folder} source)
      _vornix_include_name(${folder} name)
      file(GLOB_RECURSE headers RELATIVE ${source} CONFIGURE_DEPENDS ${source}/*.h)
      foreach(header ${headers})
        string(APPEND lines "#include \"${name}/${header}\"\n")
      endforeach()
    endforeach()
    file(CONFIGURE OUTPUT ${check} CONTENT "${lines}")
    target_sources(${target} PRIVATE ${check})
  endif()
endfunction()

# vornix_upward_include(<name> <layer target> <header>): a test that compiles a file holding only
# `#include "<header>"` against the layer's include root and passes when the compiler reports the
# header as not found, and only then (any other failure of the probe is no proof).
function(vornix_upward_include name layer header)
  # A probe that names a missing layer or header would pass for the wrong reason.
  if(NOT TARGET ${layer})
    message(FATAL_ERROR "vornix_upward_include: no layer ${layer}")
  endif()
  if(NOT EXISTS ${PROJECT_SOURCE_DIR}/src/${header} AND NOT EXISTS ${PROJECT_SOURCE_DIR}/engine/src/${header})
    message(FATAL_ERROR "vornix_upward_include: no header ${header}")
  endif()
  set(probe ${CMAKE_BINARY_DIR}/layers/probes/${name}.cpp)
  file(CONFIGURE OUTPUT ${probe} CONTENT "#include \"${header}\"\n")
  add_test(NAME UpwardInclude.${name}
    COMMAND ${CMAKE_CXX_COMPILER} -std=c++23 -fsyntax-only -I${CMAKE_BINARY_DIR}/layers/${layer} ${probe})
  string(REPLACE "." "\\." pattern "${header}")
  set_tests_properties(UpwardInclude.${name} PROPERTIES
    PASS_REGULAR_EXPRESSION "${pattern}: No such file or directory")
endfunction()
