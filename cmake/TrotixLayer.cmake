# trotix_layer(NAME feeds SOURCES a.cpp … DEPS model net … LIBS CURL::libcurl …)
# One static library `trotix_NAME` per layer of the core. Its headers are reachable as
# "NAME/x.h" only by targets that link it: each layer has an include folder of its own in the
# build tree holding a link to its sources, so a layer that includes a header of one it does not
# link fails to build.
function(trotix_layer)
  cmake_parse_arguments(L "" "NAME" "SOURCES;DEPS;LIBS" ${ARGN})
  set(target trotix_${L_NAME})
  add_library(${target} STATIC ${L_SOURCES})
  trotix_expose(${target} ${L_NAME} ${CMAKE_CURRENT_SOURCE_DIR})
  foreach(dep IN LISTS L_DEPS)
    target_link_libraries(${target} PUBLIC trotix_${dep})
  endforeach()
  target_link_libraries(${target} PUBLIC ${L_LIBS})
endfunction()

# Makes the folder DIR reachable as "NAME/…" from TARGET and whatever links it.
function(trotix_expose TARGET NAME DIR)
  set(inc ${CMAKE_BINARY_DIR}/include/${NAME})
  file(MAKE_DIRECTORY ${inc})
  file(CREATE_LINK ${DIR} ${inc}/${NAME} SYMBOLIC)
  get_target_property(type ${TARGET} TYPE)
  if(type STREQUAL "INTERFACE_LIBRARY")
    target_include_directories(${TARGET} INTERFACE ${inc})
  else()
    target_include_directories(${TARGET} PUBLIC ${inc})
  endif()
endfunction()
