# Run by `cmake --install` (and CPack) after everything else: writes SHA256SUMS at the top of the
# installed tree with the sum of each file this project installed, in the format `sha256sum -c`
# reads, so that a user can check the unpacked package.
set(root "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}")
set(files ${CMAKE_INSTALL_MANIFEST_FILES})
list(SORT files)
set(sums "")
foreach(path ${files})
  file(RELATIVE_PATH name ${root} ${path})
  if(NOT name STREQUAL "SHA256SUMS")
    file(SHA256 ${path} sum)
    string(APPEND sums "${sum}  ${name}\n")
  endif()
endforeach()
file(WRITE ${root}/SHA256SUMS "${sums}")
list(APPEND CMAKE_INSTALL_MANIFEST_FILES ${root}/SHA256SUMS)
