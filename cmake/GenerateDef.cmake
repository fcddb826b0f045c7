cmake_minimum_required(VERSION 3.20)
# Writes a DLL's module-definition file from the export table: every
# export under its own name at its ordinal, and the library's file name.
# With STDCALL_OUT, also the file the 32-bit import libraries are made
# from, each name decorated as a stdcall caller references it (name@bytes).
#   cmake -DTABLE=export_table.h -DLIBRARY_NAME=TWINEKIT.DLL -DOUT=x.def
#         [-DSTDCALL_OUT=x-stdcall.def] -P GenerateDef.cmake
file(READ ${TABLE} table)
string(REGEX MATCHALL "X\\(c[A-Za-z0-9]+, [0-9]+, \"[A-Z]*\", '[A-Z]'\\)" rows "${table}")
set(head "LIBRARY \"${LIBRARY_NAME}\"\nEXPORTS\n")
set(out "; The exports of ${LIBRARY_NAME}, written from the export table.\n${head}")
set(stdcall "; The exports of ${LIBRARY_NAME} as stdcall callers name them.\n${head}")
foreach(row IN LISTS rows)
  string(REGEX MATCH "X\\((c[A-Za-z0-9]+), ([0-9]+), \"([A-Z]*)\", '([A-Z])'\\)" match "${row}")
  set(name ${CMAKE_MATCH_1})
  set(ordinal ${CMAKE_MATCH_2})
  # Every argument kind is one 4-byte slot on 32-bit (a string by value is
  # its BSTR, the other strings and the Variant are addresses, an Integer
  # is widened), and a Variant result comes through an address passed first.
  string(LENGTH "${CMAKE_MATCH_3}" slots)
  if(CMAKE_MATCH_4 STREQUAL "X")
    math(EXPR slots "${slots} + 1")
  endif()
  math(EXPR bytes "${slots} * 4")
  string(APPEND out "  ${name} @${ordinal}\n")
  string(APPEND stdcall "  ${name}@${bytes} @${ordinal}\n")
endforeach()
list(LENGTH rows count)
if(NOT count EQUAL 64)
  message(FATAL_ERROR "${TABLE}: ${count} exports, want 64")
endif()

function(write_if_different path text)
  file(WRITE ${path}.tmp "${text}")
  execute_process(COMMAND ${CMAKE_COMMAND} -E copy_if_different ${path}.tmp ${path})
  file(REMOVE ${path}.tmp)
endfunction()

write_if_different(${OUT} "${out}")
if(STDCALL_OUT)
  write_if_different(${STDCALL_OUT} "${stdcall}")
endif()
