# pack.cmake: packs the registered entries into trov.qz5 and generates the
# built-in directory, and copies the loose files beside zolt.
#
# Entries go in the show's directory order below (names and letter case as
# the show carries them); a registration may spell a name in any case. Only
# the entries registered so far are packed, so the directory always matches
# the archive. Sets ZOLT_GENERATED_SOURCES and ZOLT_CONTENT_TARGET.

set(ZOLT_PACK_ORDER
  bar0.swf bar1.swf bar2.swf bar3.swf bug.3ds bug.cfg bug.swf bug.vpc
  bugati.vpc qz5.3ds demo.cfg end.swf greets.jpg gz.jpg t-rov.3ds zolt.3ds
  zolt1.png zolt2.png zoltbugs.png zoltcredits.png zoltend.png zoltload.png
  zoltsquare.png lastEffect.jpg linecube.3ds linecube.swf names.jpg plane.3DS
  plane.swf rhythm0.swf rhythm1.swf rhythm2.swf rhythm3.swf scroller.jpg
  tentacle.3DS tentacle.swf tentacle.vpc tentacleati.vpc tentacle2.3DS
  titlescene.swf tunnel.3DS tvmask2.jpg vs.3ds VS.swf)

get_property(_names GLOBAL PROPERTY ZOLT_CONTENT_NAMES)
get_property(_files GLOBAL PROPERTY ZOLT_CONTENT_FILES)
get_property(_targets GLOBAL PROPERTY ZOLT_CONTENT_TARGETS)
get_property(_loose GLOBAL PROPERTY ZOLT_LOOSE_FILES)

# Registered file per row of the order; lookups ignore case.
set(_order_lower "")
foreach(_name ${ZOLT_PACK_ORDER})
  string(TOLOWER "${_name}" _lower)
  list(APPEND _order_lower "${_lower}")
endforeach()
list(LENGTH _names _count)
if(_count GREATER 0)
  math(EXPR _last "${_count} - 1")
  foreach(_i RANGE ${_last})
    list(GET _names ${_i} _name)
    list(GET _files ${_i} _file)
    string(TOLOWER "${_name}" _lower)
    list(FIND _order_lower "${_lower}" _row)
    if(_row LESS 0)
      message(FATAL_ERROR "zolt_add_content: \"${_name}\" is not an entry of the show's archive")
    endif()
    if(DEFINED _pack_file_${_row})
      message(FATAL_ERROR "zolt_add_content: \"${_name}\" is registered twice "
                          "(${_pack_file_${_row}} and ${_file})")
    endif()
    get_filename_component(_file "${_file}" ABSOLUTE BASE_DIR ${CMAKE_SOURCE_DIR})
    set(_pack_file_${_row} "${_file}")
  endforeach()
endif()

set(_manifest "")
set(_sources "")
set(_row 0)
foreach(_name ${ZOLT_PACK_ORDER})
  if(DEFINED _pack_file_${_row})
    string(APPEND _manifest "${_name}\t${_pack_file_${_row}}\n")
    list(APPEND _sources "${_pack_file_${_row}}")
  endif()
  math(EXPR _row "${_row} + 1")
endforeach()

# Rewritten only when the entry list changes, so it can drive the rebuild.
set(ZOLT_PACK_MANIFEST ${CMAKE_BINARY_DIR}/content/pack.manifest)
file(CONFIGURE OUTPUT ${ZOLT_PACK_MANIFEST} CONTENT "${_manifest}" @ONLY)

set(ZOLT_PACK_ARCHIVE ${ZOLT_OUTPUT_DIR}/trov.qz5)
set(ZOLT_PACK_DIRECTORY_SOURCE ${CMAKE_BINARY_DIR}/content/packer/PackDirectory.cpp)
add_custom_command(
  OUTPUT ${ZOLT_PACK_ARCHIVE} ${ZOLT_PACK_DIRECTORY_SOURCE}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${ZOLT_OUTPUT_DIR}
  COMMAND zolt_packer ${ZOLT_PACK_MANIFEST} ${ZOLT_PACK_ARCHIVE} ${ZOLT_PACK_DIRECTORY_SOURCE}
  DEPENDS zolt_packer ${ZOLT_PACK_MANIFEST} ${_sources}
  COMMENT "Packing trov.qz5"
  VERBATIM)

# Loose files (the soundtrack) sit beside zolt under their own names.
set(_loose_outputs "")
foreach(_file ${_loose})
  get_filename_component(_file "${_file}" ABSOLUTE BASE_DIR ${CMAKE_SOURCE_DIR})
  get_filename_component(_base "${_file}" NAME)
  add_custom_command(
    OUTPUT ${ZOLT_OUTPUT_DIR}/${_base}
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${_file} ${ZOLT_OUTPUT_DIR}/${_base}
    DEPENDS ${_file}
    COMMENT "Placing ${_base} beside zolt"
    VERBATIM)
  list(APPEND _loose_outputs ${ZOLT_OUTPUT_DIR}/${_base})
endforeach()

add_custom_target(zolt_content ALL
  DEPENDS ${ZOLT_PACK_ARCHIVE} ${ZOLT_PACK_DIRECTORY_SOURCE} ${_loose_outputs})
if(_targets)
  list(REMOVE_DUPLICATES _targets)
  add_dependencies(zolt_content ${_targets})
endif()

set(ZOLT_GENERATED_SOURCES ${ZOLT_PACK_DIRECTORY_SOURCE})
set(ZOLT_CONTENT_TARGET zolt_content)
