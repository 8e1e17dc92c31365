# One INTERFACE target that every library, program and test links: warnings and Qt defines live here.
add_library(parcelon_settings INTERFACE)
target_compile_options(parcelon_settings INTERFACE -Wall -Wextra -Wpedantic)
if(PARCELON_WERROR)
  target_compile_options(parcelon_settings INTERFACE -Werror)
endif()
target_compile_definitions(parcelon_settings INTERFACE
  QT_NO_NARROWING_CONVERSIONS_IN_CONNECT
  QT_NO_URL_CAST_FROM_STRING
  QT_NO_FOREACH
  QT_NO_CAST_FROM_ASCII
  QT_NO_CAST_TO_ASCII
  QT_NO_CAST_FROM_BYTEARRAY
  PARCELON_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
target_include_directories(parcelon_settings INTERFACE ${PROJECT_SOURCE_DIR}/src)

# A static library made of every .cpp of one src/ folder.
function(parcelon_library name)
  cmake_parse_arguments(ARG "" "" "LINKS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  if(NOT sources)
    add_library(${name} INTERFACE)
    target_link_libraries(${name} INTERFACE ${ARG_LINKS})
    return()
  endif()
  add_library(${name} STATIC ${sources})
  target_link_libraries(${name} PUBLIC parcelon_settings ${ARG_LINKS})
endfunction()
