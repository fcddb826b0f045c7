# The COM module, TWINEKITCOM.DLL (32-bit) or TWINEKITCOM64.DLL (64-bit): the
# library's code with the class TwineKit.Strings around it, its type library
# embedded, and exports for COM and regsvr32 alone.  The interface
# definition is written from the export table (scripts/write-com-idl.py),
# and widl (wine64-tools)
# makes the type library, the C header of the interface and its GUIDs.
include(cmake/ComClassIds.cmake)
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(TK_COM_NAME TWINEKITCOM64)
  set(TK_COM_WIDL_ARCH -m64)
  set(TK_COM_ARCHITECTURE amd64)
  set(TK_WINE_DIR x86_64-windows)
else()
  set(TK_COM_NAME TWINEKITCOM)
  set(TK_COM_WIDL_ARCH -m32)
  set(TK_COM_ARCHITECTURE x86)
  set(TK_WINE_DIR i386-windows)
endif()

find_program(TK_PYTHON3 python3 REQUIRED)
find_program(TK_WIDL widl PATHS /usr/lib/wine NO_DEFAULT_PATH)
find_program(TK_WIDL widl REQUIRED)
find_path(TK_IDL_INCLUDE oaidl.idl PATHS /usr/include/wine/wine/windows NO_CMAKE_FIND_ROOT_PATH)
find_path(TK_STDOLE_DIR stdole2.tlb
  PATHS /usr/lib/x86_64-linux-gnu/wine/x86_64-windows /usr/lib/i386-linux-gnu/wine/i386-windows
  NO_CMAKE_FIND_ROOT_PATH)
if(NOT TK_IDL_INCLUDE OR NOT TK_STDOLE_DIR)
  message(FATAL_ERROR "widl needs oaidl.idl and stdole2.tlb (packages wine64-tools, libwine-dev)")
endif()

set(com_dir ${CMAKE_CURRENT_BINARY_DIR}/com)
file(MAKE_DIRECTORY ${com_dir})
set(TK_COM_IDL ${com_dir}/twinekit_com.idl)
set(TK_COM_TLB ${CMAKE_CURRENT_BINARY_DIR}/TwineKit.tlb)
add_custom_command(
  OUTPUT ${TK_COM_IDL}
  COMMAND ${TK_PYTHON3} ${CMAKE_CURRENT_SOURCE_DIR}/scripts/write-com-idl.py ${TK_EXPORT_TABLE}
          ${TK_COM_IDL} ${TK_COM_LIBID} ${TK_COM_IID} ${TK_COM_CLSID} ${TK_COM_LIBRARY_VERSION}
  DEPENDS ${TK_EXPORT_TABLE} scripts/write-com-idl.py ${TK_TABLE_READER}
  COMMENT "Writing the interface definition of TwineKit.Strings"
  VERBATIM)
add_custom_command(
  OUTPUT ${TK_COM_TLB} ${com_dir}/twinekit_com.h ${com_dir}/twinekit_com_i.c
  COMMAND ${TK_WIDL} ${TK_COM_WIDL_ARCH} -I${TK_IDL_INCLUDE} -L${TK_STDOLE_DIR}
          -t -o ${TK_COM_TLB} ${TK_COM_IDL}
  COMMAND ${TK_WIDL} ${TK_COM_WIDL_ARCH} -I${TK_IDL_INCLUDE}
          -h -H ${com_dir}/twinekit_com.h -u -U ${com_dir}/twinekit_com_i.c ${TK_COM_IDL}
  DEPENDS ${TK_COM_IDL}
  COMMENT "Making the type library TwineKit.tlb"
  VERBATIM)
add_custom_target(com_type_library DEPENDS ${TK_COM_TLB} ${com_dir}/twinekit_com.h)

# The side-by-side manifest, beside the module, for activation without
# registration.
configure_file(src/com/TwineKit.Strings.manifest.in
               ${CMAKE_CURRENT_BINARY_DIR}/TwineKit.Strings.manifest @ONLY)

# The module's resources: the version (as the DLL's, with its own name) and
# the type library.
tk_version_resource(${TK_COM_NAME} ${TK_COM_NAME}.DLL ${com_dir}/twinekit_com_version.rc)
file(WRITE ${com_dir}/twinekit_com.rc.in
  "#include \"twinekit_com_version.rc\"\n1 TYPELIB \"${TK_COM_TLB}\"\n")
configure_file(${com_dir}/twinekit_com.rc.in ${com_dir}/twinekit_com.rc COPYONLY)
add_library(twinekit_com_resource OBJECT ${com_dir}/twinekit_com.rc)
target_include_directories(twinekit_com_resource PRIVATE ${PROJECT_BINARY_DIR} ${com_dir})
set_source_files_properties(${com_dir}/twinekit_com.rc PROPERTIES OBJECT_DEPENDS ${TK_COM_TLB})
add_dependencies(twinekit_com_resource com_type_library)

set(TK_COM_DEF ${com_dir}/${TK_COM_NAME}.def)
file(WRITE ${TK_COM_DEF} "LIBRARY \"${TK_COM_NAME}.DLL\"
EXPORTS
  DllCanUnloadNow PRIVATE
  DllGetClassObject PRIVATE
  DllInstall PRIVATE
  DllRegisterServer PRIVATE
  DllUnregisterServer PRIVATE
")

file(GLOB TK_COM_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/src/com/*.cpp)
add_library(twinekit_com SHARED ${TK_COM_SOURCES} ${TK_CALL_SOURCES} $<TARGET_OBJECTS:twinekit_core> ${TK_COM_DEF}
                                $<TARGET_OBJECTS:twinekit_com_resource>)
tk_library_settings(twinekit_com)
target_include_directories(twinekit_com PRIVATE ${com_dir})
target_compile_definitions(twinekit_com PRIVATE _WIN32_WINNT=0x0601)
add_dependencies(twinekit_com com_type_library)
set_target_properties(twinekit_com PROPERTIES OUTPUT_NAME ${TK_COM_NAME} PREFIX "" SUFFIX ".DLL"
  ARCHIVE_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/linker-implib)
tk_windows_module(twinekit_com oleaut32 ole32 advapi32 uuid)

# The module's image: its five exports, its imports (system DLLs alone, no
# C++ runtime DLL), its entry and its version resource.
find_program(TK_PYTHON3 python3 REQUIRED)
add_test(NAME com_module_image
  COMMAND ${TK_PYTHON3} ${CMAKE_CURRENT_SOURCE_DIR}/harness/check_dll.py
          --objdump ${CMAKE_OBJDUMP} --bits $<IF:$<EQUAL:${CMAKE_SIZEOF_VOID_P},8>,64,32>
          --allow kernel32.dll,oleaut32.dll,ole32.dll,advapi32.dll,msvcrt.dll
          --exports DllCanUnloadNow,DllGetClassObject,DllInstall,DllRegisterServer,DllUnregisterServer
          --entry ${TK_ENTRY} --version ${PROJECT_VERSION}
          --string OriginalFilename=${TK_COM_NAME}.DLL --string InternalName=${TK_COM_NAME}
          $<TARGET_FILE:twinekit_com>)
