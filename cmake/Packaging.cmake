# The Debian package. `cmake --build build --target deb` takes the
# screenshot (the program renders it headless), then has CPack build
# quorbel_VERSION_ARCH.deb from what `cmake --install` puts in place, with
# the libraries it needs found by dpkg-shlibdeps from the binary itself.

set(QUORBEL_HOMEPAGE "https://quorbel.example.org" CACHE STRING
  "The project's home page; the AppStream screenshot is published there as screenshot.png")
set(QUORBEL_APPSTREAM_ID "org.example.quorbel.Quorbel" CACHE STRING
  "The AppStream component id: the home page's domain reversed, then the program's name")
set(QUORBEL_MAINTAINER "The Quorbel developers <quorbel@example.org>" CACHE STRING
  "Who the package names as its maintainer")

string(TIMESTAMP QUORBEL_RELEASE_DATE "%Y-%m-%d" UTC)
string(TIMESTAMP QUORBEL_RELEASE_DATE_RFC "%a, %d %b %Y %H:%M:%S +0000" UTC)

# The screenshot: the start-up scene of the checkout, part way into its
# animation, at the 16:9 size software centres show.
set(QUORBEL_SCREENSHOT_WIDTH 1280)
set(QUORBEL_SCREENSHOT_HEIGHT 720)
set(screenshot ${CMAKE_BINARY_DIR}/screenshot.png)
add_custom_command(OUTPUT ${screenshot}
  COMMAND quorbel --snapshot ${screenshot} --size ${QUORBEL_SCREENSHOT_WIDTH}x${QUORBEL_SCREENSHOT_HEIGHT}
    --frames 150 --seed 1
  WORKING_DIRECTORY ${CMAKE_SOURCE_DIR} DEPENDS quorbel COMMENT "Taking the screenshot headless")
add_custom_target(quorbel_screenshot DEPENDS ${screenshot})

configure_file(res/quorbel.metainfo.xml.in ${CMAKE_BINARY_DIR}/${QUORBEL_APPSTREAM_ID}.metainfo.xml @ONLY)
configure_file(res/changelog.in ${CMAKE_BINARY_DIR}/changelog @ONLY)
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/changelog.gz
  COMMAND gzip -9nkf ${CMAKE_BINARY_DIR}/changelog DEPENDS ${CMAKE_BINARY_DIR}/changelog)
add_custom_target(quorbel_changelog ALL DEPENDS ${CMAKE_BINARY_DIR}/changelog.gz)

install(FILES ${CMAKE_BINARY_DIR}/${QUORBEL_APPSTREAM_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES res/copyright ${CMAKE_BINARY_DIR}/changelog.gz DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/quorbel)
# Only the package needs the screenshot; a plain install goes on without it.
install(FILES ${screenshot} DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/quorbel OPTIONAL)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quorbel)
set(CPACK_PACKAGE_VENDOR "The Quorbel developers")
set(CPACK_PACKAGE_CONTACT ${QUORBEL_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "animated 3D video titles, rendered and recorded")
# Debian wants the long description in lines of at most 80 characters.
string(CONCAT CPACK_PACKAGE_DESCRIPTION
  "Quorbel renders animated video titles: extruded, lit, textured 3D title\n"
  "text over a fogged tunnel, a star swirl, a particle fountain, tile layers,\n"
  "a fire and radial and motion blurs, all in OpenGL, and records them as AVI,\n"
  "QuickTime, MP4, WebM or numbered PNG pictures. The same engine runs\n"
  "headless from the command line.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION video)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${QUORBEL_HOMEPAGE})
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# What no library link shows: the title's fonts, Mesa's EGL and its
# software renderer (loaded at run time), and Qt's plug-in for X11.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-dejavu-core, libegl-mesa0, libgl1-mesa-dri")
if(Qt6_FOUND)
  string(APPEND CPACK_DEBIAN_PACKAGE_DEPENDS ", qt6-qpa-plugins")
endif()
# Titles in Arabic, Devanagari and CJK draw from these when the chosen face lacks them.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-dejavu-extra, fonts-kacst-one, fonts-lohit-deva, fonts-wqy-microhei")
include(CPack)

add_custom_target(deb
  COMMAND ${CMAKE_CPACK_COMMAND} -G DEB --config ${CMAKE_BINARY_DIR}/CPackConfig.cmake
  WORKING_DIRECTORY ${CMAKE_BINARY_DIR} COMMENT "Building the Debian package" VERBATIM)
add_dependencies(deb quorbel quorbel_screenshot quorbel_man_page quorbel_changelog)
if(TARGET quorbel_icon)
  add_dependencies(deb quorbel_icon)
endif()
