# Builds this build's binary package with CPack, unpacks it, checks its layout, and runs the
# unpacked launcher the way a packager would ship it: renamed beside a launch file, and renamed
# beside a jar. The recording child stands in for java.
#
#   cmake -DCPACK=... -DCPACK_CONFIG=<build>/CPackConfig.cmake -DWORK=<scratch directory>
#         -DSOURCE_DIR=... -DVERSION=a.b.c -DWINDOWS=ON|OFF -DPROCESSOR=x86_64 -DINSPECT=1|0
#         -DRECORD_CHILD=<record_child program> [-DEMULATOR=wine] [-DGREETER_LIB=<its jars>]
#         -DBUILT_LAUNCHER=<the built launcher> [-DWINDOWS_LAUNCHER=<kestrelune.exe for Linux>]
#         [-DWINDOWS_INSPECT=<kestrelune-inspect.exe for Linux>]
#         -P check_package.cmake
cmake_minimum_required(VERSION 3.25)

file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})

# The package and its name.
if(WINDOWS)
  set(package_name kestrelune-${VERSION}-windows-x64)
  set(archive ${package_name}.zip)
  set(exe .exe)
else()
  set(package_name kestrelune-${VERSION}-linux-${PROCESSOR})
  set(archive ${package_name}.tar.gz)
  set(exe "")
endif()
execute_process(COMMAND ${CPACK} --config ${CPACK_CONFIG} -B ${WORK}/out
  RESULT_VARIABLE failed OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(failed)
  message(FATAL_ERROR "cpack failed:\n${output}")
endif()
if(NOT EXISTS ${WORK}/out/${archive})
  file(GLOB made RELATIVE ${WORK}/out ${WORK}/out/*.zip ${WORK}/out/*.tar.gz)
  message(FATAL_ERROR "expected the package ${archive}; cpack made: ${made}")
endif()
file(SIZE ${WORK}/out/${archive} size)
message(STATUS "${archive}: ${size} bytes")

# Its layout: one top directory holding bin/, README.md, docs/ and examples/, nothing else.
file(MAKE_DIRECTORY ${WORK}/unpacked)
execute_process(COMMAND ${CMAKE_COMMAND} -E tar xf ${WORK}/out/${archive}
  WORKING_DIRECTORY ${WORK}/unpacked RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "cannot unpack ${archive}")
endif()
file(GLOB top RELATIVE ${WORK}/unpacked ${WORK}/unpacked/*)
if(NOT top STREQUAL package_name)
  message(FATAL_ERROR "expected one top directory ${package_name}, found: ${top}")
endif()
set(root ${WORK}/unpacked/${package_name})
file(GLOB_RECURSE entries LIST_DIRECTORIES false RELATIVE ${root} ${root}/*)
set(wanted_programs bin/kestrelune${exe} bin/kestrelune-brand${exe})
if(INSPECT)
  list(APPEND wanted_programs bin/kestrelune-inspect${exe})
endif()
if(WINDOWS)
  list(APPEND wanted_programs bin/kestrelunew.exe)
elseif(EXISTS "${WINDOWS_LAUNCHER}")
  list(APPEND wanted_programs bin/kestrelune.exe bin/kestrelunew.exe)
endif()
if(NOT WINDOWS AND EXISTS "${WINDOWS_INSPECT}")
  list(APPEND wanted_programs bin/kestrelune-inspect.exe)
endif()
set(programs "")
foreach(entry ${entries})
  if(entry MATCHES "^bin/")
    list(APPEND programs ${entry})
  elseif(entry MATCHES "CMakeLists\\.txt$" OR
         (NOT entry MATCHES "^(docs|examples)/" AND NOT entry MATCHES "^(README.md|SHA256SUMS)$"))
    message(FATAL_ERROR "unexpected file in the package: ${entry}")
  endif()
endforeach()
list(SORT programs)
list(SORT wanted_programs)
if(NOT programs STREQUAL wanted_programs)
  message(FATAL_ERROR "bin/ holds ${programs}, expected ${wanted_programs}")
endif()
file(READ ${SOURCE_DIR}/README.md source_readme)
file(READ ${root}/README.md packaged_readme)
if(NOT packaged_readme STREQUAL source_readme)
  message(FATAL_ERROR "README.md in the package differs from the source")
endif()
foreach(folder docs examples)
  if(IS_DIRECTORY ${SOURCE_DIR}/${folder})
    file(GLOB_RECURSE sources LIST_DIRECTORIES false RELATIVE ${SOURCE_DIR}/${folder}
      ${SOURCE_DIR}/${folder}/*)
    list(FILTER sources EXCLUDE REGEX "(^|/)CMakeLists\\.txt$")
    foreach(source ${sources})
      if(NOT EXISTS ${root}/${folder}/${source})
        message(FATAL_ERROR "${folder}/${source} is missing from the package")
      endif()
    endforeach()
  endif()
endforeach()

# SHA256SUMS lists every other file with its sum; the exe is packaged exactly as built.
file(STRINGS ${root}/SHA256SUMS lines)
list(LENGTH lines listed)
list(LENGTH entries present)
math(EXPR present "${present} - 1")
if(NOT listed EQUAL present)
  message(FATAL_ERROR "SHA256SUMS lists ${listed} files, the package holds ${present} more")
endif()
foreach(line ${lines})
  string(REGEX MATCH "^([0-9a-f]+)  (.+)$" ignored "${line}")
  file(SHA256 ${root}/${CMAKE_MATCH_2} sum)
  if(NOT sum STREQUAL CMAKE_MATCH_1)
    message(FATAL_ERROR "SHA256SUMS: ${CMAKE_MATCH_2} has the sum ${sum}, listed ${CMAKE_MATCH_1}")
  endif()
endforeach()
if(WINDOWS)
  get_filename_component(built_bin ${BUILT_LAUNCHER} DIRECTORY)
  foreach(launcher kestrelune.exe kestrelunew.exe)
    file(SHA256 ${root}/bin/${launcher} packaged)
    file(SHA256 ${built_bin}/${launcher} built)
    if(NOT packaged STREQUAL built)
      message(FATAL_ERROR "the packaged ${launcher} differs from the built one")
    endif()
  endforeach()
endif()
message(STATUS "SHA256SUMS: ${listed} files verified")

# Both packaged Windows launchers branded with the packaged kestrelune-brand, as a packager on
# either system would.
foreach(launcher kestrelune kestrelunew)
  if(NOT EXISTS ${root}/bin/${launcher}.exe)
    continue()
  endif()
  file(MAKE_DIRECTORY ${WORK}/branded)
  set(from ${root}/bin/${launcher}.exe)
  set(to ${WORK}/branded/${launcher}-tool.exe)
  if(WINDOWS)
    string(REPLACE "/" "\\" from "Z:${from}")
    string(REPLACE "/" "\\" to "Z:${to}")
  endif()
  execute_process(COMMAND ${EMULATOR} ${root}/bin/kestrelune-brand${exe} --description "Packaged Tool"
                          --version 1.2 ${from} ${to}
    RESULT_VARIABLE failed OUTPUT_VARIABLE out ERROR_VARIABLE err)
  file(READ ${WORK}/branded/${launcher}-tool.exe branded HEX)
  # The description "Packaged Tool" in UTF-16, as the version record holds it.
  if(failed OR NOT branded MATCHES "5000610063006b006100670065006400200054006f006f006c00")
    message(FATAL_ERROR "kestrelune-brand from the package on ${launcher}.exe: status ${failed}\n${out}${err}")
  endif()
  message(STATUS "the packaged ${launcher}.exe branded by the packaged kestrelune-brand")
endforeach()

# The launcher as shipped: app/bin/tool beside its launch file, a private Java runtime in app/jre,
# and the jars in app/lib.
set(app ${WORK}/app)
file(MAKE_DIRECTORY ${app}/bin ${app}/jre/bin ${app}/lib)
file(COPY_FILE ${root}/bin/kestrelune${exe} ${app}/bin/tool${exe})
file(COPY_FILE ${RECORD_CHILD} ${app}/jre/bin/java${exe})
file(WRITE ${app}/lib/a.jar "a")
file(WRITE ${app}/lib/b.jar "b")
if(WINDOWS)
  # The launcher sees its own files through Wine's drive Z:, the root of the Unix file system.
  string(REPLACE "/" "\\" home "Z:${app}")
  set(s "\\")
  set(list_separator ";")
else()
  set(home ${app})
  set(s "/")
  set(list_separator ":")
endif()
set(record ${WORK}/record)
if(WINDOWS)
  string(REPLACE "/" "\\" record "Z:${record}")
endif()
file(WRITE ${app}/bin/tool.kestrelune
  "%@..${s}jre${s}bin${s}java -Dapp.home=%@.. -cp %@..${s}lib${s}*.jar${list_separator}%@..${s}conf Main %*\n")

# Runs the program with the recording child's environment and RUN_ENVIRONMENT; checks the exit
# status and the arguments the child received (what follows the raw command line in its record).
# Arguments: a name for the run, its working directory, the status java ends with, the command,
# "--", and the arguments java should receive. These are read one by one as ARGV<n>: a Windows
# class path holds ";", which would split it as a list element.
function(expect_run what directory status)
  set(command "")
  set(expected "")
  set(expected_text "")
  set(in_command TRUE)
  math(EXPR last "${ARGC} - 1")
  foreach(n RANGE 3 ${last})
    set(argument "${ARGV${n}}")
    if(in_command AND argument STREQUAL "--")
      set(in_command FALSE)
    elseif(in_command)
      list(APPEND command "${argument}")
    else()
      string(HEX "${argument}" argument_hex)
      list(APPEND expected "x${argument_hex}")
      string(APPEND expected_text " | ${argument}")
    endif()
  endforeach()
  file(REMOVE ${WORK}/record)
  execute_process(
    COMMAND ${CMAKE_COMMAND} -E env KESTRELUNE_RECORD=${record} KESTRELUNE_EXIT=${status}
            ${RUN_ENVIRONMENT} ${EMULATOR} ${command}
    WORKING_DIRECTORY ${directory} RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT result STREQUAL status)
    message(FATAL_ERROR "${what}: exit status ${result}, expected ${status}\n${out}${err}")
  endif()
  if(NOT EXISTS ${WORK}/record)
    message(FATAL_ERROR "${what}: java was not started\n${out}${err}")
  endif()
  # The record is NUL-separated: the raw command line, then each argument.
  file(READ ${WORK}/record hex HEX)
  string(LENGTH "${hex}" length)
  set(fields "")
  set(field "")
  set(text "")
  set(i 0)
  while(i LESS length)
    string(SUBSTRING "${hex}" ${i} 2 byte)
    if(byte STREQUAL "00")
      list(APPEND fields "x${field}")
      set(field "")
      string(APPEND text " | ")
    else()
      string(APPEND field ${byte})
      math(EXPR code "0x${byte}")
      string(ASCII ${code} char)
      string(APPEND text "${char}")
    endif()
    math(EXPR i "${i} + 2")
  endwhile()
  list(POP_FRONT fields)
  if(NOT fields STREQUAL expected)
    message(FATAL_ERROR "${what}: java received\n  ${text}\nexpected the arguments\n ${expected_text}")
  endif()
  message(STATUS "${what}: exit status ${status}, java received${expected_text}")
endfunction()

set(RUN_ENVIRONMENT "")
set(up "${home}${s}bin${s}..${s}")
set(class_path "${up}lib${s}a.jar${list_separator}${up}lib${s}b.jar${list_separator}${up}conf")
expect_run("launch file" ${WORK} 7 ${app}/bin/tool${exe} one "two words" --
  "-Dapp.home=${home}${s}bin${s}.." -cp "${class_path}" Main one "two words")

# Without the launch file: java -jar on tool.jar in ../lib, with TOOL_VMOPTIONS, java found along
# PATH (Wine takes additions to it from WINEPATH). The run starts in java's own folder: on
# Windows the launcher never lets cmd.exe take a program from there, and finds it along PATH.
file(REMOVE ${app}/bin/tool.kestrelune)
file(WRITE ${app}/lib/tool.jar "tool")
set(RUN_ENVIRONMENT TOOL_VMOPTIONS=-Xmx64m)
if(WINDOWS)
  list(APPEND RUN_ENVIRONMENT "WINEPATH=${home}${s}jre${s}bin")
else()
  list(APPEND RUN_ENVIRONMENT "PATH=${app}/jre/bin:$ENV{PATH}")
endif()
expect_run("default jar launch" ${app}/jre/bin 3 ${app}/bin/tool${exe} "an argument" --
  -Xmx64m -jar "${home}${s}bin${s}..${s}lib${s}tool.jar" "an argument")

# The greeter example as the package ships it: its launch file and configuration from examples/,
# its jars from this build, the unpacked launcher, and the real java found along PATH.
if(GREETER_LIB)
  set(greeter ${WORK}/greeter)
  file(MAKE_DIRECTORY ${greeter}/bin ${greeter}/conf ${greeter}/lib)
  file(COPY_FILE ${root}/bin/kestrelune${exe} ${greeter}/bin/greeter${exe})
  file(COPY ${root}/examples/greeter/greeter.kestrelune DESTINATION ${greeter}/bin)
  file(COPY ${root}/examples/greeter/conf/ DESTINATION ${greeter}/conf)
  file(GLOB jars ${GREETER_LIB}/*.jar)
  file(COPY ${jars} DESTINATION ${greeter}/lib)
  execute_process(COMMAND ${greeter}/bin/greeter${exe} "Ada Lovelace" --exit=5
    RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
  # The greeting comes from the packaged conf directory, found through the launch file.
  file(STRINGS ${greeter}/conf/greeter.properties greeting REGEX "^greeting=")
  string(REPLACE "greeting=" "" greeting "${greeting}")
  if(NOT result EQUAL 5 OR NOT out MATCHES "\\[Ada Lovelace\\]" OR NOT greeting
     OR NOT out MATCHES "${greeting}, Ada Lovelace")
    message(FATAL_ERROR "the packaged greeter: exit status ${result}, expected 5, and a greeting "
                        "\"${greeting}\"\n${out}${err}")
  endif()
  message(STATUS "the packaged greeter: exit status 5\n${out}")
endif()
