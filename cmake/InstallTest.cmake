# The installed game, end to end: installs the build into a scratch root
# (MODE prefix: `cmake --install` with DESTDIR and the prefix /usr; MODE deb:
# the package `cpack -G DEB` makes, unpacked with dpkg-deb -x), checks where
# the files land, and runs the installed binary headless for 300 frames from a
# folder without a pack, so it must find its own in ../share/tervo.
#   cmake -DBUILD_DIR=... -DSCRATCH=... -DMODE=prefix|deb -DREADELF=... -P InstallTest.cmake

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
  run(dpkg-deb -x ${debs} ${root})
else()
  message(FATAL_ERROR "MODE must be prefix or deb")
endif()

foreach(file usr/bin/tervo usr/share/tervo/t/title.png usr/share/tervo/x/mychar.x usr/share/tervo/w/ok.wav
             usr/share/tervo/o/title.ogg usr/share/tervo/t/paused.png usr/share/applications/tervo.desktop
             usr/share/icons/hicolor/64x64/apps/tervo.png usr/share/man/man6/tervo.6.gz)
  if(NOT EXISTS ${root}/${file})
    message(FATAL_ERROR "not installed: ${file}")
  endif()
endforeach()
if(EXISTS ${root}/usr/bin/t)
  message(FATAL_ERROR "the pack landed next to the binary")
endif()

# Stripped, unlike the build's copy: no symbol table, no debug information.
run(${READELF} -S -W ${root}/usr/bin/tervo)
string(REGEX MATCHALL "\\.(symtab|debug_[a-z]+|comment)" unstripped "${out}")
if(unstripped)
  message(FATAL_ERROR "the installed binary is not stripped: it has ${unstripped}")
endif()

run(${root}/usr/bin/tervo --version)
message(STATUS "${out}")

# From a folder without a pack: the game finds the installed one.
execute_process(COMMAND ${root}/usr/bin/tervo --headless --frames 300 --trace ${SCRATCH}/trace.jsonl
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
