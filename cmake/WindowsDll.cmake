# The Windows DLL: stdcall exports under undecorated names at fixed
# ordinals, a module entry of our own, and no C++ runtime DLL.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(TK_DLL_NAME TWINEKIT64)
  set(TK_ENTRY TwineKitEntry)
else()
  set(TK_DLL_NAME TWINEKIT)
  set(TK_ENTRY _TwineKitEntry@12)
endif()

# The module-definition file, written from the export table.
set(TK_DEF ${CMAKE_CURRENT_BINARY_DIR}/${TK_DLL_NAME}.def)
set(TK_EXPORT_TABLE ${CMAKE_CURRENT_SOURCE_DIR}/src/exports/export_table.h)
add_custom_command(
  OUTPUT ${TK_DEF}
  COMMAND ${CMAKE_COMMAND} -DTABLE=${TK_EXPORT_TABLE} -DOUT=${TK_DEF}
          -DLIBRARY_NAME=${TK_DLL_NAME}.DLL -P ${CMAKE_CURRENT_SOURCE_DIR}/cmake/GenerateDef.cmake
  DEPENDS ${TK_EXPORT_TABLE} cmake/GenerateDef.cmake
  COMMENT "Writing ${TK_DLL_NAME}.def"
  VERBATIM)

add_library(twinekit SHARED ${TK_SOURCES} ${TK_DEF})
tk_library_settings(twinekit)
set_target_properties(twinekit PROPERTIES OUTPUT_NAME ${TK_DLL_NAME} PREFIX "" SUFFIX ".DLL")
target_link_options(twinekit PRIVATE
  -nostartfiles -Wl,-e,${TK_ENTRY}
  -static-libgcc -static-libstdc++ -static
  -Wl,--enable-stdcall-fixup -Wl,--no-insert-timestamp)
target_link_libraries(twinekit PRIVATE oleaut32 ole32 kernel32 msvcrt)
