# tirvendal_package(TARGET FILE NAME SOURCES DIR... LINK lib...)
# Builds one of the platform's package libraries under its platform file name
# (bplrtl.so.6.9 and so on); the soname is the file name, so a dependent
# library's NEEDED entry names the package as the platform loader expects.
function(tirvendal_package target)
  cmake_parse_arguments(P "" "FILE" "DIRS;LINK;PRIVATE_LINK" ${ARGN})
  set(sources)
  foreach(dir ${P_DIRS})
    file(GLOB_RECURSE found CONFIGURE_DEPENDS ${dir}/*.cpp)
    list(APPEND sources ${found})
  endforeach()
  if(NOT sources)
    message(FATAL_ERROR "${target}: no sources under ${P_DIRS}")
  endif()
  add_library(${target} SHARED ${sources})
  string(REGEX MATCH "^(.*)\\.so(.*)$" _ "${P_FILE}")
  set_target_properties(${target} PROPERTIES
    PREFIX "" OUTPUT_NAME "${CMAKE_MATCH_1}" SUFFIX ".so${CMAKE_MATCH_2}"
    CXX_VISIBILITY_PRESET default)
  target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${target} PUBLIC ${P_LINK} PRIVATE ${P_PRIVATE_LINK})
endfunction()

# tirvendal_embed(OUT VAR FILE) writes a C++ source that holds FILE's bytes as
# the string constant VAR, regenerated whenever FILE changes.
function(tirvendal_embed out var file)
  add_custom_command(
    OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} -DIN=${file} -DOUT=${out} -DVAR=${var} -P ${PROJECT_SOURCE_DIR}/cmake/Embed.cmake
    DEPENDS ${file} ${PROJECT_SOURCE_DIR}/cmake/Embed.cmake
    VERBATIM)
endfunction()
