# The skin library as a CMake package: `cmake --install build/win --prefix DIR` puts the headers
# under DIR/include/kelskin (by their path from the source root, as our own code includes them),
# the static libraries under DIR/lib, the resources a program needs to show the built-in styles
# (skin.rc with the style bitmaps and the library's string table) under DIR/share/kelskin and the
# package files under DIR/lib/cmake/KelSkin. Windows build only: the library is a Win32 library.
include(CMakePackageConfigHelpers)

set(kel_package_targets kel_core kel_framework kel_skin_core kel_skin)
install(TARGETS ${kel_package_targets} EXPORT KelSkinTargets ARCHIVE DESTINATION lib)
install(EXPORT KelSkinTargets NAMESPACE KelSkin:: DESTINATION lib/cmake/KelSkin)

foreach(dir framework framework/win skin/controls skin/themes skin/frame)
  file(GLOB headers CONFIGURE_DEPENDS ${KEL_ROOT}/${dir}/*.h)
  install(FILES ${headers} DESTINATION include/kelskin/${dir})
endforeach()

# skin.rc includes the style table and the string table; the style table names the generated
# bitmaps by paths below the resources folder, which the package hands to the resource compiler.
set(KEL_PACKAGE_RESOURCE_DIR share/kelskin/resources)
install(FILES ${KEL_ROOT}/resources/skin.rc ${KEL_ROOT}/resources/styles.rc
              ${KEL_ROOT}/resources/skinstrings.rc DESTINATION ${KEL_PACKAGE_RESOURCE_DIR})
install(DIRECTORY ${KEL_ARTWORK_DIR}/styles/ DESTINATION ${KEL_PACKAGE_RESOURCE_DIR}/styles
        FILES_MATCHING PATTERN "*.bmp")

configure_package_config_file(${KEL_ROOT}/cmake/package/KelSkinConfig.cmake.in
                              ${CMAKE_BINARY_DIR}/package/KelSkinConfig.cmake
                              INSTALL_DESTINATION lib/cmake/KelSkin
                              PATH_VARS KEL_PACKAGE_RESOURCE_DIR)
write_basic_package_version_file(${CMAKE_BINARY_DIR}/package/KelSkinConfigVersion.cmake
                                 VERSION 1.0.0 COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_BINARY_DIR}/package/KelSkinConfig.cmake
              ${CMAKE_BINARY_DIR}/package/KelSkinConfigVersion.cmake
        DESTINATION lib/cmake/KelSkin)
