# add_tool_module(NAME SOURCES...)
#
# A tool module: the toolkit linked in whole with one tool, built as a shared
# library named NAME.p that exports `_mod_descrip` and nothing else.
function(add_tool_module name)
  add_library(${name} MODULE ${ARGN})
  set_target_properties(${name} PROPERTIES PREFIX "" SUFFIX ".p")
  target_link_libraries(${name} PRIVATE "$<LINK_LIBRARY:WHOLE_ARCHIVE,toolkit>" kelzu_warnings)
  if(WIN32)
    # Self-contained: no MinGW runtime DLLs beside the plug-in. Release
    # files are stripped: the static runtime's DWARF is no use to a Windows
    # debugger and would more than double the file.
    target_link_options(${name} PRIVATE -static -static-libgcc -static-libstdc++
      $<$<CONFIG:Release,MinSizeRel>:-s>)
  elseif(CMAKE_SYSTEM_NAME STREQUAL "Linux")
    target_link_options(${name} PRIVATE
      "LINKER:--version-script=${KELZU_MODULE_EXPORTS}" "LINKER:--no-undefined")
    set_property(TARGET ${name} APPEND PROPERTY LINK_DEPENDS "${KELZU_MODULE_EXPORTS}")
  endif()
endfunction()

set(KELZU_MODULE_EXPORTS "${CMAKE_CURRENT_LIST_DIR}/module_exports.map" CACHE INTERNAL "")
