# kv_module(NAME FOLDER DEPENDS deps... [EXCLUDE subfolder-or-file...])
# One static library per source folder. Sources are picked up by glob so that a
# new file in a folder needs no edit here; resources (*.qrc) are compiled in.
function(kv_module name folder)
  cmake_parse_arguments(KV "" "" "DEPENDS;EXCLUDE" ${ARGN})
  file(GLOB_RECURSE srcs CONFIGURE_DEPENDS
       ${CMAKE_SOURCE_DIR}/${folder}/*.cpp
       ${CMAKE_SOURCE_DIR}/${folder}/*.h
       ${CMAKE_SOURCE_DIR}/${folder}/*.qrc)
  foreach(ex ${KV_EXCLUDE})
    list(FILTER srcs EXCLUDE REGEX "^${CMAKE_SOURCE_DIR}/${folder}/${ex}(/|$)")
  endforeach()
  set(has_cpp FALSE)
  foreach(s ${srcs})
    if(s MATCHES "\\.cpp$")
      set(has_cpp TRUE)
    endif()
  endforeach()
  if(has_cpp)
    add_library(${name} STATIC ${srcs})
    target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR})
    target_link_libraries(${name} PUBLIC ${KV_DEPENDS})
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${CMAKE_SOURCE_DIR})
    target_link_libraries(${name} INTERFACE ${KV_DEPENDS})
  endif()
endfunction()
