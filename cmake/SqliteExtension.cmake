# The SQLite loadable extension: the library's objects, the faces' call
# layer, the SQL layer and the extension's entry point, which alone it
# exports.  sql/twinekit.so natively; sql/twinekit.dll on Windows, in a
# folder of its own so that it does not meet TWINEKIT.DLL, whose name
# differs only in case.  Built when SQLite's extension header is at hand:
# on Windows the build host's, whose two headers are the same on every
# platform, copied alone into the build so that no other header of the
# host's is seen.
find_path(TK_SQLITE3EXT_DIR sqlite3ext.h NO_CMAKE_FIND_ROOT_PATH)
if(NOT TK_SQLITE3EXT_DIR)
  message(STATUS "sqlite3ext.h not found: no SQLite extension")
  return()
endif()
set(TK_SQLITE_INCLUDE ${PROJECT_BINARY_DIR}/sqlite-include)
file(COPY ${TK_SQLITE3EXT_DIR}/sqlite3ext.h ${TK_SQLITE3EXT_DIR}/sqlite3.h DESTINATION ${TK_SQLITE_INCLUDE})

if(WIN32)
  add_library(twinekit_sqlite MODULE ${PROJECT_SOURCE_DIR}/src/sql/sqlite_extension.cpp
              ${TK_CALL_SOURCES} ${TK_SQL_SOURCES} $<TARGET_OBJECTS:twinekit_core>)
  tk_library_settings(twinekit_sqlite)
  tk_windows_module(twinekit_sqlite oleaut32 ole32)
  set_target_properties(twinekit_sqlite PROPERTIES SUFFIX ".dll")
else()
  set(TK_SQLITE_VERSION_SCRIPT ${CMAKE_CURRENT_BINARY_DIR}/twinekit_sqlite.map)
  file(WRITE ${TK_SQLITE_VERSION_SCRIPT} "{ global: sqlite3_twinekit_init; local: *; };\n")
  add_library(twinekit_sqlite MODULE ${PROJECT_SOURCE_DIR}/src/sql/sqlite_extension.cpp
              $<TARGET_OBJECTS:twinekit_objects> $<TARGET_OBJECTS:twinekit_no_hooks>)
  tk_library_settings(twinekit_sqlite)
  target_link_libraries(twinekit_sqlite PRIVATE twinekit_sql m)
  target_link_options(twinekit_sqlite PRIVATE -Wl,--version-script=${TK_SQLITE_VERSION_SCRIPT})
  set_property(TARGET twinekit_sqlite APPEND PROPERTY LINK_DEPENDS ${TK_SQLITE_VERSION_SCRIPT})
endif()
target_include_directories(twinekit_sqlite PRIVATE ${TK_SQLITE_INCLUDE})
set_target_properties(twinekit_sqlite PROPERTIES
  OUTPUT_NAME twinekit PREFIX "" LIBRARY_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/sql)
