#!/usr/bin/env bash
# Checks a built velmora .deb without installing it: unpacked into a scratch root (dpkg -x), the
# files are where the desktop entry and the AppStream metainfo say, both pass their validators,
# the package's fields and dependencies are right, the unpacked velmora-cli finds the shipped
# program folder relative to itself, and lintian reports no error and no warning.
#
#   tests/package/check_deb.sh build/package/velmora_<version>_<arch>.deb
#
# Runs tests/package/check_launcher.sh on the unpacked files too. Needs dpkg-dev,
# desktop-file-utils, appstream, lintian and man-db. Runs every check, then exits non-zero when
# any failed.
set -euo pipefail
deb=$(realpath "$1")
readme="$(cd "$(dirname "$0")/../.." && pwd)/README.md"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
# shellcheck source=tests/package/checks.sh source-path=SCRIPTDIR
source "$(dirname "$0")/checks.sh"
root="$scratch/root"
dpkg -x "$deb" "$root"
share="$root/usr/share"

field() { dpkg-deb --field "$deb" "$1"; }
# The value of a key of the desktop entry's main group.
desktop_key() { sed -n "/^\[Desktop Entry\]/,/^\[/s/^$1=//p" "$desktop" | head -n 1; }
# The text of every element of the metainfo with the given tag name, one a line.
metainfo_values() { grep -o "<$1[^>]*>[^<]*</$1>" "$metainfo" | sed 's/<[^>]*>//g'; }

has_dependency() { field Depends | tr ',' '\n' | grep -q "^ *$1\( \|$\)"; }
dependencies_complete() {
  local package
  for package in libssl3 libcurl4 libturbojpeg0 libdeflate0 libqt6core6 libqt6widgets6 \
    'libicu[0-9]*'; do
    has_dependency "$package" || { echo "Depends lacks $package: $(field Depends)"; return 1; }
  done
}
fields_right() {
  [ "$(field Package)" = velmora ] && [ "$(field Section)" = sound ] &&
    [ "$(field Homepage)" = "https://velmora.example.org/" ] &&
    field Maintainer | grep -q '^[^<]\+ <[^@]\+@[^>]\+>$' &&
    [ -n "$(field Description)" ]
}

desktop="$share/applications/velmora.desktop"
exec_resolves() {  # the program the Exec line starts, looked up as PATH would in /usr/bin
  local program
  program=$(desktop_key Exec | cut -d' ' -f1)
  case "$program" in
    /*) [ -x "$root$program" ] ;;
    *) [ -x "$root/usr/bin/$program" ] ;;
  esac
}
icon_resolves() {
  local icon size
  icon=$(desktop_key Icon)
  for size in 16 22 24 32 48 64 128 256; do
    file "$share/icons/hicolor/${size}x${size}/apps/$icon.png" | grep -q "PNG image data, $size x $size" ||
      { echo "no ${size}x${size} PNG for $icon"; return 1; }
  done
  [ -f "$share/icons/hicolor/scalable/apps/$icon.svg" ]
}
categories_right() { [ "$(desktop_key Categories)" = "AudioVideo;Audio;" ]; }

metainfo=$(ls "$share"/metainfo/*.metainfo.xml)
metainfo_names_the_entry() {
  local id
  id=$(basename "$metainfo" .metainfo.xml)
  [ "$(metainfo_values id)" = "$id" ] &&
    [ "$(metainfo_values launchable)" = velmora.desktop ] &&
    [ "$(metainfo_values icon)" = "$(desktop_key Icon)" ]
}
# Every screenshot README shows, on the product's web host.
metainfo_shows_the_screenshots() {
  local shot
  while read -r shot; do
    metainfo_values image | grep -qx "https://velmora.example.org/screenshots/$(basename "$shot")" ||
      { echo "no screenshot $shot"; return 1; }
  done < <(grep -o 'docs/screenshots/[a-z0-9-]*\.png' "$readme" | sort -u)
}
# The package, its changelog and the metainfo's latest release name one version.
versions_agree() {
  local version
  version=$(field Version)
  zcat "$share/doc/velmora/changelog.gz" | head -n 1 | grep -q "^velmora ($version) " &&
    grep -q "<release version=\"$version\"" "$metainfo"
}

program_folder_shipped() {
  local folder="$share/velmora" language
  language=$(sed -n 's/^language=\([^\r]*\).*/\1/p' "$folder/nfo.ini")
  [ -f "$folder/lang/english.lng" ] && [ -f "$folder/lang/polski.lng" ] &&
    [ -f "$folder/lang/$language" ]
}
# Unpacked anywhere, velmora-cli run outside a program folder before the user has one takes the
# shipped folder beside it, and writes no settings anywhere.
cli_takes_the_shipped_folder() {
  local album="$scratch/album" home="$scratch/home"
  mkdir -p "$album" "$home"
  cp "$(dirname "$readme")"/examples/album/*.mp3 "$album/"
  (cd "$scratch" && env -u XDG_DATA_HOME HOME="$home" "$root/usr/bin/velmora-cli" \
    --json --checksum none "$album") >"$scratch/cli.json"
  grep -q "\"ProgramDir\": *\"$share/velmora\"" "$scratch/cli.json" &&
    [ -z "$(ls -A "$home")" ] && [ ! -e "$scratch/nfo.ini" ]
}
# The decoding module lies in the library folder and is found from the executable's own folder.
cli_finds_its_decoding_module() {
  local album="$scratch/album-audio"
  mkdir -p "$album"
  cp "$(dirname "$readme")"/examples/album/*.mp3 "$album/"
  (cd "$scratch" && env -u XDG_DATA_HOME HOME="$scratch/home-audio" \
    "$root/usr/bin/velmora-cli" --audio --json --checksum none "$album") >"$scratch/audio.json" &&
    grep -q '"audio": {' "$scratch/audio.json" && grep -q '"DR": ' "$scratch/audio.json"
}
man_pages_render() {
  local program
  for program in "$root"/usr/bin/*; do
    man --warnings -l "$share/man/man1/$(basename "$program").1.gz" >/dev/null || return 1
  done
  [ -z "$(man --warnings -l "$share/man/man1/velmora-cli.1.gz" 2>&1 >/dev/null)" ]
}

check "package fields (name, section, homepage, maintainer, description)" fields_right
check "runtime dependencies" dependencies_complete
check "desktop-file-validate" desktop-file-validate "$desktop"
check "the desktop entry's Exec resolves" exec_resolves
check "the desktop entry's Icon resolves in every size" icon_resolves
check "the desktop entry's categories" categories_right
check "appstreamcli validate --no-net" appstreamcli validate --no-net "$metainfo"
check "the metainfo names the desktop entry and its icon" metainfo_names_the_entry
check "the metainfo shows README's screenshots" metainfo_shows_the_screenshots
check "package, changelog and metainfo versions agree" versions_agree
check "share/velmora holds nfo.ini and lang/" program_folder_shipped
check "velmora-cli takes the shipped program folder beside it" cli_takes_the_shipped_folder
check "velmora-cli decodes through the module in the library folder" cli_finds_its_decoding_module
check "every program has a manual page that renders" man_pages_render
check "lintian: no error, no warning" lintian --fail-on error,warning "$deb"
"$(dirname "$0")/check_launcher.sh" "$root" || failures=$((failures + 1))

finish package
