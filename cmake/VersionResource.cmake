# tavrin_version_resource(target file-name description): gives a shipped file its version
# resource. The numbers come from project(Tavrin VERSION ...), so a release changes them in one
# place; each target gets its own copy of resources/Version.rc.in, filled in at configure time,
# because windres cannot take quoted strings with spaces on its command line.
function(tavrin_version_resource target file_name description)
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "SHARED_LIBRARY")
    set(TAVRIN_FILE_TYPE VFT_DLL)
  else()
    set(TAVRIN_FILE_TYPE VFT_APP)
  endif()
  set(TAVRIN_FILE_NAME "${file_name}")
  set(TAVRIN_FILE_DESCRIPTION "${description}")
  set(rc ${CMAKE_CURRENT_BINARY_DIR}/${target}-version.rc)
  configure_file(${PROJECT_SOURCE_DIR}/resources/Version.rc.in ${rc} @ONLY)
  target_sources(${target} PRIVATE ${rc})
endfunction()
