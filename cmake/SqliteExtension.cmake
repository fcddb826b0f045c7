# The SQLite loadable extension, sql/twinekit.so: the library's objects, the
# SQL layer and the extension's entry point, which alone it exports.  Built
# when SQLite's extension header is at hand.
find_path(TK_SQLITE3EXT_DIR sqlite3ext.h)
if(NOT TK_SQLITE3EXT_DIR)
  message(STATUS "sqlite3ext.h not found: no SQLite extension")
  return()
endif()

set(TK_SQLITE_VERSION_SCRIPT ${CMAKE_CURRENT_BINARY_DIR}/twinekit_sqlite.map)
file(WRITE ${TK_SQLITE_VERSION_SCRIPT} "{ global: sqlite3_twinekit_init; local: *; };\n")

add_library(twinekit_sqlite MODULE ${PROJECT_SOURCE_DIR}/src/sql/sqlite_extension.cpp
            $<TARGET_OBJECTS:twinekit_objects> $<TARGET_OBJECTS:twinekit_no_hooks>)
tk_library_settings(twinekit_sqlite)
target_include_directories(twinekit_sqlite PRIVATE ${TK_SQLITE3EXT_DIR})
target_link_libraries(twinekit_sqlite PRIVATE twinekit_sql m)
target_link_options(twinekit_sqlite PRIVATE -Wl,--version-script=${TK_SQLITE_VERSION_SCRIPT})
set_property(TARGET twinekit_sqlite APPEND PROPERTY LINK_DEPENDS ${TK_SQLITE_VERSION_SCRIPT})
set_target_properties(twinekit_sqlite PROPERTIES
  OUTPUT_NAME twinekit PREFIX "" LIBRARY_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/sql)
