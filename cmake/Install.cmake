# What `cmake --install` puts under the prefix: the shipped libraries
# (libtwinekit.so with its soname links, libtwinekit.a), the public header,
# tkcall, the SQLite extension twinekit.so, and what other builds find the library by: a CMake package
# (find_package(TwineKit) gives TwineKit::twinekit and
# TwineKit::twinekit_static) and a pkg-config file.  Every installed file
# refers to the others by relative paths, so the tree can be moved.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set_target_properties(twinekit PROPERTIES
  VERSION ${PROJECT_VERSION} SOVERSION ${PROJECT_VERSION_MAJOR})
set_target_properties(tkcall PROPERTIES
  INSTALL_RPATH "$ORIGIN/../${CMAKE_INSTALL_LIBDIR}")

set(TK_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/TwineKit)

install(TARGETS twinekit twinekit_static EXPORT TwineKitTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
  INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(FILES include/twinekit.h DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(TARGETS tkcall RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# The SQLite extension, when built: lib/twinekit.so, which SQLite loads.
if(TARGET twinekit_sqlite)
  install(TARGETS twinekit_sqlite LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR})
endif()

install(EXPORT TwineKitTargets NAMESPACE TwineKit:: DESTINATION ${TK_CMAKE_DIR})
configure_package_config_file(cmake/TwineKitConfig.cmake.in
  ${PROJECT_BINARY_DIR}/TwineKitConfig.cmake INSTALL_DESTINATION ${TK_CMAKE_DIR})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/TwineKitConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/TwineKitConfig.cmake
              ${PROJECT_BINARY_DIR}/TwineKitConfigVersion.cmake
        DESTINATION ${TK_CMAKE_DIR})

# pkg-config finds the prefix from where the .pc file lies.
file(RELATIVE_PATH TK_PC_TO_PREFIX
  ${CMAKE_INSTALL_FULL_LIBDIR}/pkgconfig ${CMAKE_INSTALL_PREFIX})
string(REGEX REPLACE "/$" "" TK_PC_TO_PREFIX "${TK_PC_TO_PREFIX}")
configure_file(cmake/twinekit.pc.in ${PROJECT_BINARY_DIR}/twinekit.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/twinekit.pc
        DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
