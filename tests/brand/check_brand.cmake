# The real launcher branded by kestrelune-brand.exe under Wine, the way a packager does it:
#   PART=round_trip  brand, read back with the Windows services and with pefile and wrestool, run
#                    a launch file through the branded copy, brand the copy again
#   PART=signing     sign a branded copy with osslsigncode and a throwaway CA made here, verify it,
#                    run a launch file through it, and see kestrelune-brand refuse it
#
#   cmake -DPART=... -DWORK=<scratch> -DSOURCE_DIR=... -DEMULATOR=wine -DBRAND=... -DLAUNCHER=...
#         -DREAD_BACK=... -DRECORD_CHILD=... -DPYTHON=/usr/bin/python3 -P check_brand.cmake
cmake_minimum_required(VERSION 3.25)

file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/app)

# Runs a command; fails the test unless it exits with `status`; leaves its output in `out`.
function(run status)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE error)
  if(NOT result STREQUAL status)
    list(JOIN ARGN " " command)
    message(FATAL_ERROR "${command}\nexited with ${result}, expected ${status}\n${output}${error}")
  endif()
  set(out "${output}${error}" PARENT_SCOPE)
endfunction()

function(windows_path variable path)
  string(REPLACE "/" "\\" path "Z:${path}")
  set(${variable} "${path}" PARENT_SCOPE)
endfunction()

# An icon of four images, 256x256 stored as PNG, drawn by the greeter's script.
function(make_icon ico)
  run(0 ${PYTHON} ${SOURCE_DIR}/examples/greeter/draw_icon.py ${WORK}/icon ${ARGN})
  set(pngs "")
  foreach(size ${ARGN})
    if(size EQUAL 256)
      list(APPEND pngs -r)
    endif()
    list(APPEND pngs ${WORK}/icon-${size}.png)
  endforeach()
  run(0 icotool -c -o ${ico} ${pngs})
endfunction()

# Brands LAUNCHER as app/NAME.exe under Wine (LC_ALL so that Wine reads the UTF-8 arguments).
function(brand from name)
  windows_path(input ${from})
  windows_path(output ${WORK}/app/${name}.exe)
  run(0 ${CMAKE_COMMAND} -E env LC_ALL=C.UTF-8 ${EMULATOR} ${BRAND} ${ARGN} ${input} ${output})
endfunction()

# Reads app/NAME.exe back with the Windows services; EXPECTED lines KEY=VALUE.
function(read_back name expected)
  file(WRITE ${WORK}/${name}-expected.txt "${expected}")
  windows_path(exe ${WORK}/app/${name}.exe)
  windows_path(list ${WORK}/${name}-expected.txt)
  run(0 ${EMULATOR} ${READ_BACK} ${exe} ${list})
  message(STATUS "${name}.exe read back under Wine:\n${out}")
endfunction()

# Runs app/NAME.exe beside its launch file, which starts the recording child with a fixed first
# argument and the user's; checks the exit status and the arguments that arrive.
function(run_launch_file name)
  file(COPY_FILE ${RECORD_CHILD} ${WORK}/app/record_child.exe)
  file(WRITE ${WORK}/app/${name}.kestrelune "%@record_child.exe first %*\r\n")
  windows_path(record ${WORK}/record)
  file(REMOVE ${WORK}/record)
  run(7 ${CMAKE_COMMAND} -E env KESTRELUNE_RECORD=${record} KESTRELUNE_EXIT=7
        ${EMULATOR} ${WORK}/app/${name}.exe "two words")
  file(READ ${WORK}/record hex HEX)
  # The record: the raw command line, then each argument, each ending in a zero byte.
  string(HEX "first" first)
  string(HEX "two words" second)
  if(NOT hex MATCHES "00${first}00${second}00$")
    message(FATAL_ERROR "${name}.exe: the child received ${hex}, expected first | two words")
  endif()
  message(STATUS "${name}.exe ran its launch file: exit status 7, arguments first | two words")
endfunction()

set(description "Greeting Tool — für alle ✓")
set(fields "FileDescription=${description}\nProductName=Greeter\nCompanyName=Example Ltd\n")
string(APPEND fields "LegalCopyright=(c) 2026 Example Ltd\nFileVersion=2.1.0.7\nProductVersion=2.1.0.7\n")
make_icon(${WORK}/app.ico 16 32 48 256)
brand(${LAUNCHER} tool --icon Z:${WORK}/app.ico --description "${description}" --product Greeter
      --company "Example Ltd" --copyright "(c) 2026 Example Ltd" --version 2.1.0.7)

if(PART STREQUAL "round_trip")
  read_back(tool "${fields}OriginalFilename=tool.exe\nInternalName=tool\nVersion=2.1.0.7\nIcons=4\n")
  run(0 ${PYTHON} ${CMAKE_CURRENT_LIST_DIR}/cross_check.py ${LAUNCHER} ${WORK}/app/tool.exe ${WORK}/app.ico
        ${WORK}/tool-expected.txt)
  message(STATUS "cross-check:\n${out}")
  run_launch_file(tool)

  # Branded again as again.exe: one image replaces the four, fields not given stay as branded.
  make_icon(${WORK}/small.ico 32)
  brand(${WORK}/app/tool.exe again --icon Z:${WORK}/small.ico --version 3)
  read_back(again "FileDescription=${description}\nCompanyName=Example Ltd\nOriginalFilename=again.exe\nInternalName=again\nVersion=3.0.0.0\nFileVersion=3.0.0.0\nIcons=1\n")
elseif(PART STREQUAL "signing")
  # A throwaway authority and a code-signing certificate issued by it.
  set(ssl ${WORK}/ssl)
  file(MAKE_DIRECTORY ${ssl})
  file(WRITE ${ssl}/leaf.ext "basicConstraints=CA:FALSE\nkeyUsage=digitalSignature\nextendedKeyUsage=codeSigning\n")
  run(0 openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Kestrelune Test CA"
        -addext basicConstraints=critical,CA:TRUE -addext keyUsage=critical,keyCertSign,cRLSign
        -keyout ${ssl}/ca.key -out ${ssl}/ca.pem)
  run(0 openssl req -newkey rsa:2048 -nodes -subj "/CN=Example Ltd" -keyout ${ssl}/leaf.key -out ${ssl}/leaf.csr)
  run(0 openssl x509 -req -in ${ssl}/leaf.csr -CA ${ssl}/ca.pem -CAkey ${ssl}/ca.key -CAcreateserial -days 1
        -extfile ${ssl}/leaf.ext -out ${ssl}/leaf.pem)

  run(0 osslsigncode sign -certs ${ssl}/leaf.pem -key ${ssl}/leaf.key -n "Greeter" -h sha256
        -in ${WORK}/app/tool.exe -out ${WORK}/app/signed.exe)
  run(0 osslsigncode verify -CAfile ${ssl}/ca.pem -in ${WORK}/app/signed.exe)
  if(NOT out MATCHES "Signature verification: ok")
    message(FATAL_ERROR "osslsigncode verify:\n${out}")
  endif()
  string(REGEX MATCHALL "(Message digest|Signer's certificate|Subject|Issuer|Signature verification)[^\n]*" lines "${out}")
  list(JOIN lines "\n  " lines)
  message(STATUS "osslsigncode verify against the test CA:\n  ${lines}")
  run_launch_file(signed)

  windows_path(signed ${WORK}/app/signed.exe)
  windows_path(output ${WORK}/app/resigned.exe)
  run(1 ${EMULATOR} ${BRAND} --version 9 ${signed} ${output})
  if(NOT out STREQUAL "error: ${signed} is signed; brand it before signing\n" OR EXISTS ${WORK}/app/resigned.exe)
    message(FATAL_ERROR "kestrelune-brand on a signed file: ${out}")
  endif()
  message(STATUS "kestrelune-brand refuses the signed copy: ${out}")
else()
  message(FATAL_ERROR "PART is round_trip or signing")
endif()
