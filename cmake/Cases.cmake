# tkcall's syntax of values and case lines (tk_values), and the behaviour
# case files compiled in (tk_cases): used natively by tkcall, the tests and
# the fuzzer's seeds, and by the DLL harness.
file(GLOB TK_CASE_FILES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/cases/*.cases)
set(TK_CASE_TEXTS ${PROJECT_BINARY_DIR}/case_texts.cpp)
add_custom_command(
  OUTPUT ${TK_CASE_TEXTS}
  COMMAND ${CMAKE_COMMAND} -DOUT=${TK_CASE_TEXTS} "-DFILES=${TK_CASE_FILES}"
          -P ${PROJECT_SOURCE_DIR}/cmake/EmbedCases.cmake
  DEPENDS ${TK_CASE_FILES} ${PROJECT_SOURCE_DIR}/cmake/EmbedCases.cmake
  COMMENT "Compiling in the case files"
  VERBATIM)
add_library(tk_values STATIC ${PROJECT_SOURCE_DIR}/tools/hostcall/values.cpp
                             ${PROJECT_SOURCE_DIR}/tools/hostcall/case_line.cpp)
target_include_directories(tk_values PUBLIC ${PROJECT_SOURCE_DIR}/tools/hostcall ${PROJECT_SOURCE_DIR}/src)
target_compile_options(tk_values PRIVATE ${TK_WARNINGS})

add_library(tk_cases STATIC ${PROJECT_SOURCE_DIR}/tests/cases/case_file.cpp ${TK_CASE_TEXTS})
target_include_directories(tk_cases PUBLIC ${PROJECT_SOURCE_DIR}/tests ${PROJECT_SOURCE_DIR}/src)
target_compile_options(tk_cases PRIVATE ${TK_WARNINGS})
target_link_libraries(tk_cases PUBLIC tk_values)
