# Installation layout and the Debian package (cpack -G DEB, or "bash build.sh package").
#
#   /usr/bin/orvane                  launcher: prepares the user's program folder, runs the program
#   /usr/lib/orvane/orvane           the program (read-only; never run from here directly)
#   /usr/share/orvane/<part>/        Data, Images, Sound, Animate, Help, Voice
#   /usr/share/applications, icons/hicolor, metainfo, man/man1, doc/orvane
#
# The program folder of the build (build/program) stays as it is: run from there, the program
# behaves as before and writes beside itself.

set(ORVANE_PACKAGING_DIR ${CMAKE_CURRENT_LIST_DIR})
set(ORVANE_PACKAGE_ID org.orvane.Orvane)

install(TARGETS orvane RUNTIME DESTINATION lib/orvane)
install(PROGRAMS ${ORVANE_PACKAGING_DIR}/orvane.sh DESTINATION bin RENAME orvane)
# Only the read-only parts of the program folder: never Chime/, Custom/ or orvane.ini that a run
# from the build folder wrote there.
foreach(part Data Images Sound Animate Help Voice)
  install(DIRECTORY ${ORVANE_PROGRAM_DIR}/${part} DESTINATION share/orvane)
endforeach()

install(FILES ${ORVANE_PACKAGING_DIR}/orvane.desktop DESTINATION share/applications)
install(FILES ${ORVANE_PACKAGING_DIR}/${ORVANE_PACKAGE_ID}.metainfo.xml DESTINATION share/metainfo)
install(DIRECTORY ${ORVANE_GENERATED_DIR}/icons/ DESTINATION share/icons/hicolor)
install(FILES ${ORVANE_PACKAGING_DIR}/copyright DESTINATION share/doc/orvane)
install(FILES ${ORVANE_PACKAGING_DIR}/lintian-overrides DESTINATION share/lintian/overrides
        RENAME orvane)

# The manual page and the changelog are installed compressed, without a time stamp in the
# gzip header, so the package is the same from one build to the next.
find_program(ORVANE_GZIP gzip REQUIRED)
set(orvane_docs_dir ${CMAKE_BINARY_DIR}/generated/docs)
add_custom_command(
  OUTPUT ${orvane_docs_dir}/orvane.1.gz ${orvane_docs_dir}/changelog.gz
  COMMAND ${CMAKE_COMMAND} -E make_directory ${orvane_docs_dir}
  COMMAND ${ORVANE_GZIP} -9nc ${ORVANE_PACKAGING_DIR}/orvane.1 > ${orvane_docs_dir}/orvane.1.gz
  COMMAND ${ORVANE_GZIP} -9nc ${ORVANE_PACKAGING_DIR}/changelog > ${orvane_docs_dir}/changelog.gz
  DEPENDS ${ORVANE_PACKAGING_DIR}/orvane.1 ${ORVANE_PACKAGING_DIR}/changelog
  COMMENT "Compressing the manual page and the changelog")
add_custom_target(orvane_package_docs ALL DEPENDS ${orvane_docs_dir}/orvane.1.gz
                                                  ${orvane_docs_dir}/changelog.gz)
install(FILES ${orvane_docs_dir}/orvane.1.gz DESTINATION share/man/man1)
install(FILES ${orvane_docs_dir}/changelog.gz DESTINATION share/doc/orvane)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME orvane)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Orvane developers")
set(CPACK_PACKAGE_CONTACT "Orvane developers <developers@orvane.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "learn and practise the ringing of Russian church bells")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR})
set(CPACK_STRIP_FILES TRUE)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://www.orvane.example/")
# Library dependencies are computed by dpkg-shlibdeps from the executable.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The sound library and the sound file library are loaded when they are first used, so
# dpkg-shlibdeps cannot see them.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libsdl2-2.0-0 (>= 2.0.18), libsndfile1 (>= 1.0.28)")
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS OFF)
# The extended description; CPack puts the summary above it as the synopsis line.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Orvane teaches and simulates the ringing of church bells in the Russian
tradition. Choose a set from fifteen bells, split it into small, medium-size
and great bells, ring them from the keyboard or with the mouse, play and
watch stored chimes with their score, let the program play random study
chimes, read lessons and record chimes of your own.
.
Each user gets a program folder of their own in ~/.local/share/Orvane,
where the settings, the chime library and the recorded chimes are kept.")
include(CPack)
