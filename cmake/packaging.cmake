# What `cmake --install` puts down and what CPack packs: a ZIP of the Windows build, a tar.gz of
# the native one, both laid out as
#   bin/        kestrelune(.exe), kestrelune-inspect(.exe) when that tool is built, kestrelune-brand(.exe),
#               the windowed Windows launcher kestrelunew.exe, and in the Linux package the Windows
#               launchers kestrelune.exe and kestrelunew.exe, to brand and ship, with
#               kestrelune-inspect.exe, to check their launch files under Wine
#   docs/       the documentation
#   examples/   the example applications, as sources
#   README.md
#   SHA256SUMS  the sums of all the files above, as `sha256sum -c` reads them
# Included at the end of the top CMakeLists.txt, once every program target is defined.

install(TARGETS kestrelune RUNTIME DESTINATION bin)
if(TARGET kestrelunew)
  install(TARGETS kestrelunew RUNTIME DESTINATION bin)
endif()
if(TARGET kestrelune-inspect)
  install(TARGETS kestrelune-inspect RUNTIME DESTINATION bin)
endif()
install(TARGETS kestrelune-brand RUNTIME DESTINATION bin)
if(NOT WIN32)
  # The Windows launchers (KESTRELUNE_WINDOWS_LAUNCHER, set in the top CMakeLists.txt, and the
  # windowed one beside it), so that a Linux machine can brand and ship them; left out when they
  # have not been built.
  get_filename_component(windows_bin ${KESTRELUNE_WINDOWS_LAUNCHER} DIRECTORY)
  install(FILES ${KESTRELUNE_WINDOWS_LAUNCHER} ${windows_bin}/kestrelunew.exe DESTINATION bin OPTIONAL)
  install(FILES ${KESTRELUNE_WINDOWS_INSPECT} DESTINATION bin OPTIONAL)
endif()
# README.md stays at the top so that its links into docs/ still work in the unpacked package.
install(FILES README.md DESTINATION .)
if(IS_DIRECTORY ${PROJECT_SOURCE_DIR}/docs)
  install(DIRECTORY docs/ DESTINATION docs)
endif()
if(IS_DIRECTORY ${PROJECT_SOURCE_DIR}/examples)
  # Their CMakeLists.txt build them inside this project's tree only: left out.
  install(DIRECTORY examples/ DESTINATION examples PATTERN CMakeLists.txt EXCLUDE)
endif()

# Last, once every file is in place (and stripped).
install(SCRIPT ${CMAKE_CURRENT_LIST_DIR}/write_sums.cmake)

set(CPACK_PACKAGE_NAME kestrelune)
set(CPACK_PACKAGE_VENDOR "The Kestrelune developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "A small, fast launcher for Java applications")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
if(WIN32)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_SYSTEM_NAME windows-x64)
else()
  set(CPACK_GENERATOR TGZ)
  string(TOLOWER ${CMAKE_SYSTEM_NAME}-${CMAKE_SYSTEM_PROCESSOR} CPACK_SYSTEM_NAME)
endif()
set(CPACK_PACKAGE_FILE_NAME ${CPACK_PACKAGE_NAME}-${CPACK_PACKAGE_VERSION}-${CPACK_SYSTEM_NAME})
# The native build links unstripped and its packaged programs are stripped. The exes are linked
# stripped already, and mingw's strip would write a fresh time stamp into them: packaged as built.
if(NOT WIN32)
  set(CPACK_STRIP_FILES ON)
endif()
set(CPACK_VERBATIM_VARIABLES ON)
include(CPack)
