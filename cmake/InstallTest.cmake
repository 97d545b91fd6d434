# The installed game, end to end: installs the build into a scratch root
# (MODE prefix: `cmake --install` with DESTDIR and the prefix /usr; MODE deb:
# the package `cpack -G DEB` makes, which lintian must find no error in,
# unpacked with dpkg-deb -x), checks where the files land, that the binary is
# stripped and the copyright file carries LICENSE's terms, and runs the
# installed binary headless for 300 frames from a folder without a pack, so
# it must find its own in ../share/tervo.
#   cmake -DBUILD_DIR=... -DSCRATCH=... -DMODE=prefix|deb -DREADELF=... -DLICENSE=... -P InstallTest.cmake

function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE code OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT code EQUAL 0)
    message(FATAL_ERROR "failed (${code}): ${ARGN}\n${out}\n${err}")
  endif()
  set(out "${out}" PARENT_SCOPE)
endfunction()

file(REMOVE_RECURSE ${SCRATCH})
file(MAKE_DIRECTORY ${SCRATCH}/root ${SCRATCH}/elsewhere)
set(root ${SCRATCH}/root)

if(MODE STREQUAL "prefix")
  run(${CMAKE_COMMAND} -E env DESTDIR=${root} ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix /usr)
elseif(MODE STREQUAL "deb")
  # gzip: the same package as the xz one it ships as, made in a fraction of the time
  run(cpack -G DEB -D CPACK_DEBIAN_COMPRESSION_TYPE=gzip --config ${BUILD_DIR}/CPackConfig.cmake
      -B ${SCRATCH}/package)
  file(GLOB debs ${SCRATCH}/package/*.deb)
  list(LENGTH debs count)
  if(NOT count EQUAL 1)
    message(FATAL_ERROR "expected one package, found: ${debs}")
  endif()
  foreach(field Package Section Maintainer Depends Description)
    run(dpkg-deb -f ${debs} ${field})
    string(STRIP "${out}" value)
    set(deb_${field} "${value}")
    message(STATUS "${field}: ${value}")
  endforeach()
  if(NOT deb_Package STREQUAL "tervo" OR NOT deb_Section STREQUAL "games" OR deb_Maintainer STREQUAL "")
    message(FATAL_ERROR "wrong package fields")
  endif()
  foreach(dep libsdl2-2.0-0 libepoxy0 libpng16-16 libvorbisfile3 libc6)
    if(NOT deb_Depends MATCHES "(^|, )${dep}( |,|$)")
      message(FATAL_ERROR "Depends lacks ${dep}: ${deb_Depends}")
    endif()
  endforeach()
  # Debian's own checker: errors fail, the rest is shown.
  find_program(LINTIAN lintian)
  if(NOT LINTIAN)
    message(FATAL_ERROR "lintian is not installed (scripts/setup installs it)")
  endif()
  execute_process(COMMAND ${LINTIAN} --tag-display-limit 0 ${debs}
                  RESULT_VARIABLE code OUTPUT_VARIABLE out ERROR_VARIABLE err)
  message(STATUS "lintian (${code}):\n${out}")
  if(NOT code MATCHES "^[01]$" OR out MATCHES "(^|\n)E: ")
    message(FATAL_ERROR "lintian found errors in the package:\n${out}\n${err}")
  endif()
  run(dpkg-deb -x ${debs} ${root})
else()
  message(FATAL_ERROR "MODE must be prefix or deb")
endif()

set(game ${root}/usr/games/tervo)
foreach(file usr/games/tervo usr/share/tervo/t/title.png usr/share/tervo/x/mychar.x usr/share/tervo/w/ok.wav
             usr/share/tervo/o/title.ogg usr/share/tervo/t/paused.png usr/share/applications/tervo.desktop
             usr/share/icons/hicolor/64x64/apps/tervo.png usr/share/man/man6/tervo.6.gz
             usr/share/doc/tervo/copyright usr/share/doc/tervo/changelog.gz)
  if(NOT EXISTS ${root}/${file})
    message(FATAL_ERROR "not installed: ${file}")
  endif()
endforeach()
if(EXISTS ${root}/usr/games/t)
  message(FATAL_ERROR "the pack landed next to the binary")
endif()

# Stripped, unlike the build's copy: no symbol table, no debug information.
run(${READELF} -S -W ${game})
string(REGEX MATCHALL "\\.(symtab|debug_[a-z]+|comment)" unstripped "${out}")
if(unstripped)
  message(FATAL_ERROR "the installed binary is not stripped: it has ${unstripped}")
endif()

run(${game} --version)
message(STATUS "${out}")
string(REGEX REPLACE "^tervo ([^\n]*)\n$" "\\1" version "${out}")

# The changelog's latest entry is this version's.
run(gzip -dc ${root}/usr/share/doc/tervo/changelog.gz)
if(NOT out MATCHES "^tervo \\(${version}\\) ")
  message(FATAL_ERROR "the changelog's latest entry is not version ${version}:\n${out}")
endif()

# The copyright file gives LICENSE's terms (as a DEP-5 paragraph: indented,
# with a dot for each empty line).
file(READ ${LICENSE} license)
file(READ ${root}/usr/share/doc/tervo/copyright copyright)
string(REGEX MATCH "Permission is hereby granted.*DEALINGS IN THE[ \n]SOFTWARE\\." terms "${license}")
string(REGEX REPLACE "\n \\.?" "\n" copyright "${copyright}")
string(REGEX REPLACE "\n+" " " copyright "${copyright}")
string(REGEX REPLACE "\n+" " " terms "${terms}")
string(FIND "${copyright}" "License: Expat ${terms}" at)
if(terms STREQUAL "" OR at EQUAL -1)
  message(FATAL_ERROR "the copyright file does not give LICENSE's terms")
endif()

# From a folder without a pack: the game finds the installed one.
execute_process(COMMAND ${game} --headless --frames 300 --trace ${SCRATCH}/trace.jsonl
                        --trace-groups display
                WORKING_DIRECTORY ${SCRATCH}/elsewhere RESULT_VARIABLE code ERROR_VARIABLE err)
if(NOT code EQUAL 0)
  message(FATAL_ERROR "the installed game failed (${code}):\n${err}")
endif()
file(STRINGS ${SCRATCH}/trace.jsonl frames REGEX "^{\"frame\":")
list(LENGTH frames count)
if(NOT count EQUAL 300)
  message(FATAL_ERROR "the installed game ran ${count} frames, not 300")
endif()
list(GET frames 299 last)
if(NOT last MATCHES "\"titleScreen\":1")
  message(FATAL_ERROR "frame 299 does not show the title")
endif()
message(STATUS "the installed game ran 300 frames")
file(REMOVE_RECURSE ${SCRATCH})
