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
  # Nothing Qt 6.4 (Debian's Qt) calls deprecated compiles: a call to it is an error here, not later.
  QT_DISABLE_DEPRECATED_BEFORE=0x060400
  PARCELON_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
target_include_directories(parcelon_settings INTERFACE ${PROJECT_SOURCE_DIR}/src ${PROJECT_BINARY_DIR}/generated)

# Debian puts the ODBC drivers under the multiarch folder of the machine's architecture
# (/usr/lib/x86_64-linux-gnu/odbc, /usr/lib/aarch64-linux-gnu/odbc, ...). Ask the compiler once, here.
set(parcelon_multiarch "${CMAKE_LIBRARY_ARCHITECTURE}")
if(NOT parcelon_multiarch)
  execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-multiarch
    OUTPUT_VARIABLE parcelon_multiarch OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
endif()
if(parcelon_multiarch)
  set(parcelon_odbc_dir /usr/lib/${parcelon_multiarch}/odbc)
else()
  set(parcelon_odbc_dir /usr/lib/odbc)
endif()
set(PARCELON_ODBC_DRIVER_DIR ${parcelon_odbc_dir} CACHE PATH
  "Folder of the ODBC driver libraries libsqlite3odbc.so and psqlodbcw.so")
configure_file(${CMAKE_CURRENT_LIST_DIR}/buildconfig.h.in ${PROJECT_BINARY_DIR}/generated/buildconfig.h @ONLY)

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
