# Installing like a Debian game: the binary in games/ (src/CMakeLists.txt),
# the asset pack in share/tervo/ (the binary looks in ../share/tervo beside
# its own folder), a desktop entry, the program icon in the hicolor theme,
# the man page, and the copyright file and changelog in share/doc/tervo/.
# `cpack -G DEB` makes the package from the same rules.

# The pack the build wrote next to the binary (the sanitizer builds get it
# copied there from the release build).
set(TERVO_PACK ${CMAKE_BINARY_DIR}/bin)
install(DIRECTORY ${TERVO_PACK}/t ${TERVO_PACK}/x ${TERVO_PACK}/w ${TERVO_PACK}/o
  DESTINATION ${CMAKE_INSTALL_DATADIR}/tervo)
install(FILES ${CMAKE_SOURCE_DIR}/data/tervo.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${TERVO_PACK}/t/icon.png
  DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/64x64/apps RENAME tervo.png)

# The Maintainer field of the package and the signature of its changelog.
# Whoever builds packages for others sets their own: -DTERVO_MAINTAINER=...
# (A cache still holding the old placeholder, an address no mail reaches,
# gets the new default.)
if(TERVO_MAINTAINER STREQUAL "TERVO developers <tervo@localhost>")
  unset(TERVO_MAINTAINER CACHE)
endif()
set(TERVO_MAINTAINER "TERVO developers <maintainers@tervo.games>" CACHE STRING
  "The Maintainer field of the Debian package and its changelog's signature")

# Debian ships man pages and changelogs compressed, with neither a name nor
# a time in the gzip header.
function(tervo_gzip source output)
  get_filename_component(dir ${output} DIRECTORY)
  add_custom_command(OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${dir}
    COMMAND sh -c "gzip -9 -n -c \"$1\" > \"$2\"" sh ${source} ${output}
    DEPENDS ${source}
    VERBATIM)
endfunction()
set(TERVO_MAN ${CMAKE_BINARY_DIR}/man/tervo.6.gz)
tervo_gzip(${CMAKE_SOURCE_DIR}/docs/tervo.6 ${TERVO_MAN})
configure_file(${CMAKE_SOURCE_DIR}/data/changelog.in ${CMAKE_BINARY_DIR}/doc/changelog @ONLY)
set(TERVO_CHANGELOG ${CMAKE_BINARY_DIR}/doc/changelog.gz)
tervo_gzip(${CMAKE_BINARY_DIR}/doc/changelog ${TERVO_CHANGELOG})
add_custom_target(docs ALL DEPENDS ${TERVO_MAN} ${TERVO_CHANGELOG})
install(FILES ${TERVO_MAN} DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES ${CMAKE_SOURCE_DIR}/data/copyright ${TERVO_CHANGELOG}
  DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/tervo)

# Installing and packing take what the build made; they do not build
# everything first (cpack would otherwise rebuild every test program).
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tervo)
set(CPACK_PACKAGE_VENDOR "TERVO developers")
set(CPACK_PACKAGE_CONTACT ${TERVO_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${TERVO_MAINTAINER})
# The first line is the synopsis; CPack indents the rest.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "3D shoot-'em-up in a corridor
Your ship flies at a fixed depth inside a corridor while twelve waves of
enemies and their shots come at it, and two bosses wait at the far end.
Fire three-slot shots, launch homing missiles and keep your three hit
points. Every picture, model, sound and piece of music is made by the
game's own generator.")
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries the binary links, as dpkg-shlibdeps finds them
# (libsdl2-2.0-0, libepoxy0, libpng16-16, libvorbisfile3, ...).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# An OpenGL 3.3 driver; Mesa's covers every machine, in software at worst.
# The X server's core fonts, which SDL's message boxes draw their text with
# (without them a failed start shows no box, only its lines on stderr).
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libgl1-mesa-dri, xfonts-base")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
include(CPack)

# The installed game, run from a scratch root: `ctest -L install`.
if(TERVO_BUILD_TESTS)
  foreach(mode prefix deb)
    add_test(NAME install.${mode}
      COMMAND ${CMAKE_COMMAND} -DBUILD_DIR=${CMAKE_BINARY_DIR} -DMODE=${mode}
              -DSCRATCH=${CMAKE_BINARY_DIR}/install-test-${mode} -DREADELF=${CMAKE_READELF}
              -DLICENSE=${CMAKE_SOURCE_DIR}/LICENSE
              -P ${CMAKE_SOURCE_DIR}/cmake/InstallTest.cmake)
    set_tests_properties(install.${mode} PROPERTIES LABELS install TIMEOUT 300)
  endforeach()
endif()
