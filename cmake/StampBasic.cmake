cmake_minimum_required(VERSION 3.20)
# Writes the Basic declarations module with the version under its first
# line (Attribute VB_Name), with the CR LF line ends Basic reads.
#   cmake -DIN=TwineKit.bas -DOUT=build/TwineKit.bas -DVERSION=1.0.0 -P StampBasic.cmake
file(READ ${IN} text)
string(REPLACE "\r\n" "\n" text "${text}")
string(FIND "${text}" "\n" end)
if(end LESS 1)
  message(FATAL_ERROR "${IN}: no first line")
endif()
math(EXPR after "${end} + 1")
string(SUBSTRING "${text}" 0 ${after} first)
string(SUBSTRING "${text}" ${after} -1 rest)
string(REPLACE "\n" "\r\n" text "${first}' TwineKit ${VERSION}\n${rest}")
file(WRITE ${OUT}.tmp "${text}")
execute_process(COMMAND ${CMAKE_COMMAND} -E copy_if_different ${OUT}.tmp ${OUT})
file(REMOVE ${OUT}.tmp)
