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
# It is built against Debian's sqlite3ext.h and sqlite3.h (libsqlite3-dev),
# copied into the build: an extension calls SQLite only through the table
# of functions that the loading SQLite hands it, which later versions only
# extend, so these headers serve any SQLite since.  The host's
# /usr/include itself cannot be on the cross compiler's search path.
find_path(TK_SQLITE_EXT_HEADER sqlite3ext.h PATHS /usr/include NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
if(NOT TK_SQLITE_EXT_HEADER)
  message(FATAL_ERROR "the SQLite extension needs sqlite3ext.h (package libsqlite3-dev)")
endif()
set(sqlite_dir ${CMAKE_CURRENT_BINARY_DIR}/sqlite)
foreach(header sqlite3.h sqlite3ext.h)
  configure_file(${TK_SQLITE_EXT_HEADER}/${header} ${sqlite_dir}/include/${header} COPYONLY)
endforeach()

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

add_library(twinekit_sqlite SHARED src/sql/sqlite_extension.cpp ${TK_SQL_SOURCES} ${TK_CALL_SOURCES}
            $<TARGET_OBJECTS:twinekit_core> ${TK_SQLITE_DEF} $<TARGET_OBJECTS:twinekit_sqlite_resource>)
tk_library_settings(twinekit_sqlite)
target_include_directories(twinekit_sqlite PRIVATE ${sqlite_dir}/include)
set_target_properties(twinekit_sqlite PROPERTIES OUTPUT_NAME ${TK_SQLITE_NAME} PREFIX "" SUFFIX ".dll"
  ARCHIVE_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/linker-implib)
# Unlike the Declare DLL, the module keeps the C runtime's start-up for
# DLLs: the SQL layer formats its messages with the compiler's snprintf,
# whose number conversion needs it.  Its runtime is linked in statically,
# so the module still imports system DLLs alone.
target_link_options(twinekit_sqlite PRIVATE
  -static-libgcc -static-libstdc++ -static -Wl,--no-insert-timestamp)
target_link_libraries(twinekit_sqlite PRIVATE oleaut32 ole32 kernel32 msvcrt)
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(TK_SQLITE_ENTRY DllMainCRTStartup)
else()
  set(TK_SQLITE_ENTRY _DllMainCRTStartup@12)
endif()

# The module's image: its two entry points alone, system DLLs alone, the C
# runtime's entry and the version resource.
add_test(NAME sqlite_module_image
  COMMAND ${TK_PYTHON3} ${CMAKE_CURRENT_SOURCE_DIR}/harness/check_dll.py
          --objdump ${CMAKE_OBJDUMP} --bits $<IF:$<EQUAL:${CMAKE_SIZEOF_VOID_P},8>,64,32>
          --exports sqlite3_twinekit_init,sqlite3_twinekitsqlite_init
          --entry ${TK_SQLITE_ENTRY} --version ${PROJECT_VERSION}
          --string OriginalFilename=${TK_SQLITE_NAME}.dll --string InternalName=${TK_SQLITE_NAME}
          $<TARGET_FILE:twinekit_sqlite>)
