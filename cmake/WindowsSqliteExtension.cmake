# The SQLite loadable extension for Windows, twinekit_sqlite.dll (the same
# name for both widths, in the zip's x86 and x64 folders): the library's
# code and the SQL layer behind SQLite's extension interface.
#
# Its name is not twinekit.dll: Windows compares module names without case,
# so LoadLibrary("twinekit") could give a process the Declare DLL
# TWINEKIT.DLL (already loaded, or found first on the search path), and the
# two could not share a folder.  SQLite finds the entry point of a file
# loaded without one by its name: sqlite3_X_init, X the letters of the
# file name (lower case, "lib" skipped) up to its first dot, so
# twinekit_sqlite.dll gives sqlite3_twinekitsqlite_init.  The module
# exports that and sqlite3_twinekit_init, the extension's own entry (the
# one of the Linux twinekit.so), as the same function.
#
# The headers (cmake/SqliteExtension.cmake, TK_SQLITE_INCLUDE) are
# Debian's: an extension calls SQLite only through the table of functions
# that the loading SQLite hands it, which later versions only extend, so
# they serve any SQLite since.
set(sqlite_dir ${CMAKE_CURRENT_BINARY_DIR}/sqlite)
set(TK_SQLITE_NAME twinekit_sqlite)
set(TK_SQLITE_DEF ${sqlite_dir}/${TK_SQLITE_NAME}.def)
file(WRITE ${TK_SQLITE_DEF} "LIBRARY \"${TK_SQLITE_NAME}.dll\"
EXPORTS
  sqlite3_twinekit_init
  sqlite3_twinekitsqlite_init = sqlite3_twinekit_init
")
tk_version_resource(${TK_SQLITE_NAME} ${TK_SQLITE_NAME}.dll ${sqlite_dir}/twinekit_sqlite.rc)
add_library(twinekit_sqlite_resource OBJECT ${sqlite_dir}/twinekit_sqlite.rc)
target_include_directories(twinekit_sqlite_resource PRIVATE ${PROJECT_BINARY_DIR})

add_library(twinekit_sqlite MODULE src/sql/sqlite_extension.cpp ${TK_SQL_SOURCES} ${TK_CALL_SOURCES}
            $<TARGET_OBJECTS:twinekit_core> ${TK_SQLITE_DEF} $<TARGET_OBJECTS:twinekit_sqlite_resource>)
tk_library_settings(twinekit_sqlite)
target_include_directories(twinekit_sqlite PRIVATE ${TK_SQLITE_INCLUDE})
set_target_properties(twinekit_sqlite PROPERTIES OUTPUT_NAME ${TK_SQLITE_NAME} PREFIX "" SUFFIX ".dll")
tk_windows_module(twinekit_sqlite oleaut32 ole32)

# The module's image: its two entry points alone, system DLLs alone, the
# library's module entry and the version resource.
add_test(NAME sqlite_module_image
  COMMAND ${TK_PYTHON3} ${CMAKE_CURRENT_SOURCE_DIR}/harness/check_dll.py
          --objdump ${CMAKE_OBJDUMP} --bits $<IF:$<EQUAL:${CMAKE_SIZEOF_VOID_P},8>,64,32>
          --exports sqlite3_twinekit_init,sqlite3_twinekitsqlite_init
          --entry ${TK_ENTRY} --version ${PROJECT_VERSION}
          --string OriginalFilename=${TK_SQLITE_NAME}.dll --string InternalName=${TK_SQLITE_NAME}
          $<TARGET_FILE:twinekit_sqlite>)
