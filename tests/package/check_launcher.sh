#!/usr/bin/env bash
# Checks velmora-launcher from an unpacked package (ROOT, as dpkg -x leaves it) in a prefix of its
# own, with a stand-in for velmora that only notes where it was started: the per-user program
# folder is made and filled from the shipped one, the first start sets the desktop's language,
# later starts add new shipped files but never replace the user's, and the shipped folder is
# found relative to the launcher, also through a symbolic link.
#
#   tests/package/check_launcher.sh ROOT
set -euo pipefail
root=$(realpath "$1")
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
# shellcheck source=tests/package/checks.sh source-path=SCRIPTDIR
source "$(dirname "$0")/checks.sh"
prefix="$scratch/moved/prefix"
mkdir -p "$prefix/bin" "$prefix/share"
cp "$root/usr/bin/velmora-launcher" "$prefix/bin/"
cp -R "$root/usr/share/velmora" "$prefix/share/"
shipped="$prefix/share/velmora"
cat >"$prefix/bin/velmora" <<'STAND_IN'
#!/bin/sh
pwd >"$STARTED_IN"
STAND_IN
chmod +x "$prefix/bin/velmora"


# Starts the launcher for a fresh or given HOME with the locale variables given as NAME=VALUE.
launch() {  # HOME [NAME=VALUE...]
  local home=$1
  shift
  env -u LC_ALL -u LC_MESSAGES -u LANG -u XDG_DATA_HOME HOME="$home" \
    STARTED_IN="$scratch/started-in" "$@" "${launcher:-$prefix/bin/velmora-launcher}"
}
language_of() { sed -n 's/^language=\([^\r]*\)\r$/\1/p' "$1/nfo.ini"; }
started_in() { [ "$(cat "$scratch/started-in")" = "$1" ]; }

# The user's folder holds every shipped file, the same bytes but for the language line.
filled_from_shipped() {  # FOLDER
  (cd "$shipped" && find . -type f) | while read -r file; do
    if [ "$file" = ./nfo.ini ]; then
      diff <(grep -v '^language=' "$shipped/$file") <(grep -v '^language=' "$1/$file") >/dev/null
    else
      cmp -s "$shipped/$file" "$1/$file"
    fi || { echo "    $file differs" >&2; return 1; }
  done
}

first_start_in_polish() {
  local home="$scratch/pl" folder="$scratch/pl/.local/share/velmora"
  launch "$home" LANG=pl_PL.UTF-8 && started_in "$folder" && filled_from_shipped "$folder" &&
    [ "$(language_of "$folder")" = polski.lng ]
}
first_start_in_english() {
  local home="$scratch/en" folder="$scratch/en/.local/share/velmora"
  launch "$home" LANG=en_GB.UTF-8 && started_in "$folder" && [ "$(language_of "$folder")" = english.lng ]
}
# LC_ALL overrides LC_MESSAGES, which overrides LANG.
locale_variables_in_order() {
  launch "$scratch/c" LC_ALL=C LANG=pl_PL.UTF-8 &&
    [ "$(language_of "$scratch/c/.local/share/velmora")" = english.lng ] &&
    launch "$scratch/m" LC_MESSAGES=pl_PL.UTF-8 LANG=en_US.UTF-8 &&
    [ "$(language_of "$scratch/m/.local/share/velmora")" = polski.lng ]
}
data_home_is_followed() {
  launch "$scratch/x" XDG_DATA_HOME="$scratch/data" LANG=pl_PL.UTF-8 &&
    started_in "$scratch/data/velmora" && [ "$(language_of "$scratch/data/velmora")" = polski.lng ]
}
# A second start in another language: the user's files stay, missing and new ones come.
later_start_keeps_the_users_files() {
  local folder="$scratch/pl/.local/share/velmora"
  printf 'mine\r\n' >"$folder/genre.ini"
  rm "$folder/lang/english.lng"
  printf 'new\r\n' >"$shipped/new.ini"
  launch "$scratch/pl" LANG=en_US.UTF-8 && [ "$(language_of "$folder")" = polski.lng ] &&
    [ "$(cat "$folder/genre.ini")" = "$(printf 'mine\r')" ] &&
    cmp -s "$shipped/lang/english.lng" "$folder/lang/english.lng" &&
    cmp -s "$shipped/new.ini" "$folder/new.ini"
}
through_a_link() {
  ln -s "$prefix/bin/velmora-launcher" "$scratch/velmora-launcher"
  launcher="$scratch/velmora-launcher" launch "$scratch/link" LANG=pl_PL.UTF-8 &&
    started_in "$scratch/link/.local/share/velmora"
}

check "first start, Polish desktop: folder filled, polski.lng" first_start_in_polish
check "first start, English desktop: english.lng" first_start_in_english
check "LC_ALL, then LC_MESSAGES, then LANG decide the language" locale_variables_in_order
check "XDG_DATA_HOME is followed" data_home_is_followed
check "later starts keep the user's files and add new shipped ones" later_start_keeps_the_users_files
check "started through a symbolic link" through_a_link

finish launcher
