cmake_minimum_required(VERSION 3.20)
# Compiles the case files into a program: a source file that holds each
# file's text, under its family name.
#   cmake -DOUT=case_texts.cpp -DFILES="a.cases;b.cases" -P EmbedCases.cmake
set(out "// Written by cmake/EmbedCases.cmake from tests/cases/*.cases.\n")
string(APPEND out "#include \"cases/case_file.h\"\n\nnamespace tkcases {\nnamespace {\n")
string(APPEND out "constexpr CaseText kTexts[] = {\n")
foreach(file IN LISTS FILES)
  get_filename_component(family ${file} NAME_WE)
  file(READ ${file} text)
  string(APPEND out "    {\"${family}\", R\"tkcases(${text})tkcases\"},\n")
endforeach()
string(APPEND out "};\n}  // namespace\n\nstd::span<const CaseText> CaseTexts() { return kTexts; }\n\n}  // namespace tkcases\n")
file(WRITE ${OUT}.tmp "${out}")
execute_process(COMMAND ${CMAKE_COMMAND} -E copy_if_different ${OUT}.tmp ${OUT})
file(REMOVE ${OUT}.tmp)
