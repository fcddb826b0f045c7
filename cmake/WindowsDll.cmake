# The Windows DLL: stdcall exports under undecorated names at fixed
# ordinals, a module entry of our own, a version resource, and no C++
# runtime DLL; beside it the import libraries for MinGW and Microsoft
# toolchains.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(TK_DLL_NAME TWINEKIT64)
  set(TK_ENTRY TwineKitEntry)
  set(TK_LLVM_MACHINE i386:x86-64)
else()
  set(TK_DLL_NAME TWINEKIT)
  set(TK_ENTRY _TwineKitEntry@12)
  set(TK_LLVM_MACHINE i386)
endif()

# The module-definition file, written from the export table.  The 32-bit
# import libraries are made from a second one that names each export as a
# stdcall caller references it (cGetIn@12), with --kill-at so that the
# import itself is by the undecorated name the DLL exports.
set(TK_DEF ${CMAKE_CURRENT_BINARY_DIR}/${TK_DLL_NAME}.def)
set(TK_EXPORT_TABLE ${CMAKE_CURRENT_SOURCE_DIR}/src/exports/export_table.h)
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(TK_STDCALL_DEF "")
  set(TK_IMPLIB_DEF ${TK_DEF})
  set(TK_KILL_AT "")
else()
  set(TK_STDCALL_DEF ${CMAKE_CURRENT_BINARY_DIR}/${TK_DLL_NAME}-stdcall.def)
  set(TK_IMPLIB_DEF ${TK_STDCALL_DEF})
  set(TK_KILL_AT -k)  # --kill-at, for binutils' dlltool and LLVM's alike
endif()
find_program(TK_PYTHON3 python3 REQUIRED)
set(TK_TABLE_READER ${CMAKE_CURRENT_SOURCE_DIR}/scripts/export_table.py)
add_custom_command(
  OUTPUT ${TK_DEF} ${TK_STDCALL_DEF}
  COMMAND ${TK_PYTHON3} ${TK_TABLE_READER} ${TK_EXPORT_TABLE} ${TK_DLL_NAME}.DLL ${TK_DEF}
          ${TK_STDCALL_DEF}
  DEPENDS ${TK_EXPORT_TABLE} ${TK_TABLE_READER}
  COMMENT "Writing ${TK_DLL_NAME}.def"
  VERBATIM)
# One target writes them, before the DLL and the import libraries use them.
add_custom_target(def_files DEPENDS ${TK_DEF} ${TK_STDCALL_DEF})

# The version resource, compiled by windres apart from the C++ options.
enable_language(RC)
# Writes to OUT the version resource of a module: NAME is its internal
# name, FILE its file name.
function(tk_version_resource name file out)
  set(TK_DLL_NAME ${name})
  set(TK_DLL_FILE ${file})
  configure_file(${PROJECT_SOURCE_DIR}/src/exports/twinekit.rc.in ${out} @ONLY)
endfunction()
tk_version_resource(${TK_DLL_NAME} ${TK_DLL_NAME}.DLL ${CMAKE_CURRENT_BINARY_DIR}/twinekit.rc)
add_library(twinekit_resource OBJECT ${CMAKE_CURRENT_BINARY_DIR}/twinekit.rc)
target_include_directories(twinekit_resource PRIVATE ${PROJECT_BINARY_DIR})

# The library's code, compiled once for the DLL and the COM module.
add_library(twinekit_core OBJECT ${TK_SOURCES})
tk_library_settings(twinekit_core)

add_library(twinekit SHARED $<TARGET_OBJECTS:twinekit_core> ${TK_DEF}
                            $<TARGET_OBJECTS:twinekit_resource>)
tk_library_settings(twinekit)
add_dependencies(twinekit def_files)
# The linker's own import library would name the 32-bit exports without
# their stdcall decoration, which no stdcall caller references: it goes
# aside, and the shipped ones are made from the module-definition file.
set_target_properties(twinekit PROPERTIES OUTPUT_NAME ${TK_DLL_NAME} PREFIX "" SUFFIX ".DLL"
  ARCHIVE_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/linker-implib)
# A module of ours: the library's own entry, no C runtime start-up, no C++
# runtime DLL, only the system DLLs given (KERNEL32 and msvcrt always).
function(tk_windows_module target)
  target_link_options(${target} PRIVATE
    -nostartfiles -Wl,-e,${TK_ENTRY}
    -static-libgcc -static-libstdc++ -static
    -Wl,--enable-stdcall-fixup -Wl,--no-insert-timestamp)
  target_link_libraries(${target} PRIVATE ${ARGN} kernel32 msvcrt)
endfunction()
tk_windows_module(twinekit oleaut32 ole32)

# The import libraries: lib<NAME>.dll.a for MinGW (binutils dlltool) and
# <NAME>.lib for Microsoft-ABI linkers (llvm-dlltool).
find_program(TK_LLVM_DLLTOOL NAMES llvm-dlltool llvm-dlltool-14 REQUIRED)
if(NOT CMAKE_DLLTOOL)
  message(FATAL_ERROR "no dlltool for the target (binutils-mingw-w64)")
endif()
set(TK_IMPLIB_MINGW ${CMAKE_CURRENT_BINARY_DIR}/lib${TK_DLL_NAME}.dll.a)
set(TK_IMPLIB_MSVC ${CMAKE_CURRENT_BINARY_DIR}/${TK_DLL_NAME}.lib)
add_custom_command(
  OUTPUT ${TK_IMPLIB_MINGW} ${TK_IMPLIB_MSVC}
  COMMAND ${CMAKE_DLLTOOL} --input-def ${TK_IMPLIB_DEF} --dllname ${TK_DLL_NAME}.DLL
          --output-lib ${TK_IMPLIB_MINGW} ${TK_KILL_AT}
  COMMAND ${TK_LLVM_DLLTOOL} -m ${TK_LLVM_MACHINE} -d ${TK_IMPLIB_DEF}
          -l ${TK_IMPLIB_MSVC} ${TK_KILL_AT}
  DEPENDS ${TK_IMPLIB_DEF}
  COMMENT "Writing the import libraries of ${TK_DLL_NAME}.DLL"
  VERBATIM)
add_custom_target(import_libraries ALL DEPENDS ${TK_IMPLIB_MINGW} ${TK_IMPLIB_MSVC})
add_dependencies(import_libraries def_files)
