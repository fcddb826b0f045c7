# The identities of the class TwineKit.Strings, its interface and its type
# library, set once: for the COM modules (cmake/ComModule.cmake) and for the
# native tests of their registration (tests/CMakeLists.txt), which read
# them from class_ids.h.
set(TK_COM_LIBID df2d49b2-1d06-40e0-b6d9-e787afdfd8b3)
set(TK_COM_IID afeb1861-cc2c-4b3f-8124-a7f685998e78)
set(TK_COM_CLSID 45842eaf-5d90-4b47-b452-511ab39dfc79)
set(TK_COM_LIBRARY_VERSION 1.0)
configure_file(${PROJECT_SOURCE_DIR}/src/com/class_ids.h.in ${PROJECT_BINARY_DIR}/com/class_ids.h @ONLY)
