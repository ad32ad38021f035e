# The portable package a user downloads: Krelmix-<version>-win32.zip (the shipped program) or
# -win64.zip, holding Krelmix.exe, the installed Krelmix.ini and the six event sounds it names.
# Unpacked anywhere, it runs from its own folder: the settings and the sounds are found beside the
# executable. Made by `cpack` (or the `package` target) in a Windows build tree.
install(TARGETS Krelmix RUNTIME DESTINATION .)
install(FILES ${CMAKE_SOURCE_DIR}/resources/Krelmix.ini DESTINATION .)
install(DIRECTORY ${CMAKE_SOURCE_DIR}/resources/sounds/ DESTINATION sounds FILES_MATCHING PATTERN "*.wav")

if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(krelmix_package_system win32)
else()
  set(krelmix_package_system win64)
endif()
set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME Krelmix)
set(CPACK_PACKAGE_VENDOR Krelmix)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_SYSTEM_NAME ${krelmix_package_system})
set(CPACK_PACKAGE_FILE_NAME Krelmix-${PROJECT_VERSION}-${krelmix_package_system})
# The zip holds one folder of that name, so that unpacking never scatters files.
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
include(CPack)
