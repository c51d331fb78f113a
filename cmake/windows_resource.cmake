# Gives a Windows program its version record and application manifest:
#   kestrelune_windows_resource(<target> "<file description>")
# The version numbers are the project's; the internal and original file names are the target's
# name (and .exe). Does nothing outside the Windows build.
if(WIN32)
  enable_language(RC)
endif()

function(kestrelune_windows_resource target description)
  if(NOT WIN32)
    return()
  endif()
  set(RC_NAME ${target})
  set(RC_DESCRIPTION "${description}")
  set(RC_VERSION ${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH}.0)
  string(REPLACE "." "," RC_VERSION_COMMAS ${RC_VERSION})
  set(RC_MANIFEST ${PROJECT_SOURCE_DIR}/src/launcher/kestrelune.manifest)
  set(rc ${CMAKE_CURRENT_BINARY_DIR}/${target}.rc)
  configure_file(${PROJECT_SOURCE_DIR}/src/launcher/kestrelune.rc.in ${rc} @ONLY)
  target_sources(${target} PRIVATE ${rc})
  # windres reads the manifest itself: rebuild the resource when it changes.
  set_source_files_properties(${rc} PROPERTIES OBJECT_DEPENDS ${RC_MANIFEST})
  # Kept on the target for the test that reads the record back.
  set_property(TARGET ${target} PROPERTY KESTRELUNE_FILE_DESCRIPTION "${description}")
endfunction()

# Marks a launcher for kestrelune-brand, which brands only launchers of its own version:
#   kestrelune_launcher_marker(<target>)
function(kestrelune_launcher_marker target)
  if(NOT WIN32)
    return()
  endif()
  set(rc ${CMAKE_CURRENT_BINARY_DIR}/${target}-marker.rc)
  configure_file(${PROJECT_SOURCE_DIR}/src/launcher/launcher_marker.rc.in ${rc} @ONLY)
  target_sources(${target} PRIVATE ${rc})
endfunction()
