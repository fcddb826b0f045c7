cmake_minimum_required(VERSION 3.20)
# Writes a DLL's module-definition file from the export table: every
# export under its own name at its ordinal, and the library's file name.
#   cmake -DTABLE=export_table.h -DLIBRARY_NAME=TWINEKIT.DLL -DOUT=x.def -P GenerateDef.cmake
file(READ ${TABLE} table)
string(REGEX MATCHALL "X\\(c[A-Za-z0-9]+, [0-9]+," rows "${table}")
set(out "; The exports of ${LIBRARY_NAME}, written from the export table.\n")
string(APPEND out "LIBRARY \"${LIBRARY_NAME}\"\nEXPORTS\n")
foreach(row IN LISTS rows)
  string(REGEX MATCH "X\\((c[A-Za-z0-9]+), ([0-9]+)," match "${row}")
  string(APPEND out "  ${CMAKE_MATCH_1} @${CMAKE_MATCH_2}\n")
endforeach()
list(LENGTH rows count)
if(NOT count EQUAL 64)
  message(FATAL_ERROR "${TABLE}: ${count} exports, want 64")
endif()
file(WRITE ${OUT}.tmp "${out}")
execute_process(COMMAND ${CMAKE_COMMAND} -E copy_if_different ${OUT}.tmp ${OUT})
file(REMOVE ${OUT}.tmp)
