# The greeter's own exe in the Windows build: the launcher branded with the greeter's icon and
# names, beside the Windows launch file, as a packager would ship it:
#   examples/greeter/bin/greeter.exe, greeter.kestrelune   (under the build directory)
# The icon is drawn by draw_icon.py and packed with icotool; kestrelune-brand.exe runs under Wine
# through the emulator the tests use (scripts/wine-run.sh: the project's prefix), which first makes
# the prefix when it is missing: on a fresh machine this step is the build's first Wine start.
find_program(ICOTOOL icotool)
find_program(GREETER_PYTHON python3)
if(NOT ICOTOOL OR NOT GREETER_PYTHON OR NOT CMAKE_CROSSCOMPILING_EMULATOR)
  message(STATUS "icotool, python3 or Wine missing: greeter.exe is not made")
  return()
endif()

set(source ${CMAKE_CURRENT_LIST_DIR})
set(out ${CMAKE_CURRENT_BINARY_DIR}/greeter)
set(sizes 16 32 48 256)
set(pngs "")
foreach(size ${sizes})
  if(size EQUAL 256)
    list(APPEND pngs -r)  # the large image stays PNG, as Windows stores it
  endif()
  list(APPEND pngs ${out}/icon/greeter-${size}.png)
endforeach()
add_custom_command(OUTPUT ${out}/icon/greeter.ico
  COMMAND ${CMAKE_COMMAND} -E make_directory ${out}/icon
  COMMAND ${GREETER_PYTHON} ${source}/draw_icon.py ${out}/icon/greeter ${sizes}
  COMMAND ${ICOTOOL} -c -o ${out}/icon/greeter.ico ${pngs}
  DEPENDS ${source}/draw_icon.py
  COMMENT "Drawing the greeter's icon" VERBATIM)

set(GREETER_NAMES --description "Greeter, an example application" --product Greeter
                  --company "The Kestrelune developers" --version ${PROJECT_VERSION})
add_custom_command(OUTPUT ${out}/bin/greeter.exe ${out}/bin/greeter.kestrelune
  COMMAND ${CMAKE_COMMAND} -E make_directory ${out}/bin
  COMMAND ${CMAKE_CROSSCOMPILING_EMULATOR} --make-prefix $<TARGET_FILE:kestrelune-brand> --icon Z:${out}/icon/greeter.ico
          ${GREETER_NAMES} Z:$<TARGET_FILE:kestrelune> Z:${out}/bin/greeter.exe
  COMMAND ${CMAKE_COMMAND} -E copy ${source}/greeter-windows.kestrelune ${out}/bin/greeter.kestrelune
  DEPENDS kestrelune kestrelune-brand ${out}/icon/greeter.ico ${source}/greeter-windows.kestrelune
  COMMENT "Branding greeter.exe" VERBATIM)
add_custom_target(greeter-exe ALL DEPENDS ${out}/bin/greeter.exe)
# For the test that reads the names and the icon back.
set_target_properties(greeter-exe PROPERTIES GREETER_EXE ${out}/bin/greeter.exe
  GREETER_EXPECTED "FileDescription=Greeter, an example application\nProductName=Greeter\nCompanyName=The Kestrelune developers\nVersion=${PROJECT_VERSION}.0\nOriginalFilename=greeter.exe\nInternalName=greeter\nIcons=4\n")
