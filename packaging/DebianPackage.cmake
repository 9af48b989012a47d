# `cpack -G DEB` in a build folder makes velmora_<version>_<arch>.deb of what `cmake --install`
# installs. scripts/package.sh builds it with the prefix /usr and Debian's hardening flags.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME velmora)
set(CPACK_PACKAGE_VERSION ${VELMORA_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_CONTACT "Velmora developers <packages@${VELMORA_WEB_HOST}>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "NFO file writer for music releases")
# The long description, laid out in lines for an 80-column terminal as Debian asks.
set(CPACK_PACKAGE_DESCRIPTION [[
Velmora writes the NFO file of a music release. Pointed at one folder of
ripped audio (MP3, Musepack, Monkey's Audio or FLAC), it reads every file's
tags and stream headers, builds the track list and a release summary, and
saves the NFO text, an SFV or MD5 checksum list and PLS/M3U playlists beside
the audio.

The package holds the desktop window, velmora, and velmora-cli, which runs
the same job without a window.]])
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://${VELMORA_WEB_HOST}/")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_STRIP_FILES ON)

# dpkg-shlibdeps finds the libraries the programs link (Qt, ICU, libdeflate, libcurl,
# libturbojpeg, ...). It cannot see libcrypto, which is opened with dlopen on the first MD5.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libssl3")

include(CPack)
