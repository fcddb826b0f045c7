cmake_minimum_required(VERSION 3.20)
# Writes the interface definition of the COM class from the export table:
# one dual interface whose methods are the exports under their own names,
# their DISPIDs the ordinals, their arguments named as in the table, and a
# type library with the class.  widl makes the type library and the C
# header from it.
#   cmake -DTABLE=export_table.h -DOUT=x.idl -DLIBID=... -DIID=... -DCLSID=...
#         -DVERSION=1.0 -P GenerateIdl.cmake
file(READ ${TABLE} table)
string(REGEX MATCHALL "X\\(c[A-Za-z0-9]+, [0-9]+, \"[A-Z]*\", '[A-Z]'\\)" rows "${table}")
string(REGEX MATCHALL "X\\(c[A-Za-z0-9]+, \"[A-Za-z0-9 ]*\"\\)" name_rows "${table}")
list(LENGTH rows count)
list(LENGTH name_rows name_count)
if(NOT count EQUAL 64 OR NOT name_count EQUAL 64)
  message(FATAL_ERROR "${TABLE}: ${count} exports and ${name_count} argument lists, want 64")
endif()

# A read-only string comes by value, an in-place one by reference; an
# Integer is 16 bits, a Long 32; the Variant comes as it is.
set(type_R "[in] BSTR")
set(type_V "[in] BSTR")
set(type_W "[in, out] BSTR*")
set(type_L "[in] long")
set(type_I "[in] short")
set(type_X "[in] VARIANT")
set(result_S "BSTR*")
set(result_I "short*")
set(result_L "long*")
set(result_X "VARIANT*")

set(methods "")
foreach(i RANGE 63)
  list(GET rows ${i} row)
  list(GET name_rows ${i} name_row)
  string(REGEX MATCH "X\\((c[A-Za-z0-9]+), ([0-9]+), \"([A-Z]*)\", '([A-Z])'\\)" m "${row}")
  set(name ${CMAKE_MATCH_1})
  set(ordinal ${CMAKE_MATCH_2})
  set(kinds ${CMAKE_MATCH_3})
  set(result ${CMAKE_MATCH_4})
  string(REGEX MATCH "X\\((c[A-Za-z0-9]+), \"([A-Za-z0-9 ]*)\"\\)" m "${name_row}")
  if(NOT CMAKE_MATCH_1 STREQUAL name)
    message(FATAL_ERROR "${TABLE}: argument names of ${CMAKE_MATCH_1} where ${name} is due")
  endif()
  string(REPLACE " " ";" names "${CMAKE_MATCH_2}")
  set(params "")
  set(k 0)
  foreach(arg IN LISTS names)
    string(SUBSTRING "${kinds}" ${k} 1 kind)
    list(APPEND params "${type_${kind}} ${arg}")
    math(EXPR k "${k} + 1")
  endforeach()
  if(NOT result STREQUAL "N")
    list(APPEND params "[out, retval] ${result_${result}} Result")
  endif()
  list(JOIN params ", " params)
  string(APPEND methods "    [id(${ordinal})] HRESULT ${name}(${params});\n")
endforeach()

set(idl "// The COM class of TwineKit, written from the export table.
import \"oaidl.idl\";

[uuid(${LIBID}), version(${VERSION}), helpstring(\"TwineKit byte-string functions\")]
library TwineKit
{
  importlib(\"stdole2.tlb\");

  [object, uuid(${IID}), dual, oleautomation, nonextensible,
   helpstring(\"The 64 functions of TwineKit\")]
  interface ITwineKitStrings : IDispatch
  {
${methods}  };

  [uuid(${CLSID}), helpstring(\"TwineKit.Strings\")]
  coclass Strings
  {
    [default] interface ITwineKitStrings;
  };
};
")
file(WRITE ${OUT}.tmp "${idl}")
execute_process(COMMAND ${CMAKE_COMMAND} -E copy_if_different ${OUT}.tmp ${OUT})
file(REMOVE ${OUT}.tmp)
