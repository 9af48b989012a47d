#!/usr/bin/env bash
# Installs the Debian package for real and starts "Velmora" the way a desktop does: the Exec line
# of the installed desktop entry, under Xvfb, once as a Polish and once as an English desktop, each
# for a scratch HOME. Each start must show the window titled "Velmora v<version>" and leave the
# per-user nfo.ini naming polski.lng or english.lng; a screenshot of each is saved to look at.
# `man velmora-cli` must work. The package is removed again afterwards unless it was installed
# before. Run as root (it installs).
#
#   scripts/check_installed.sh [DEB] [SCREENSHOT_FOLDER]
#
# DEB defaults to build/package/velmora_*.deb (scripts/package.sh makes it), the screenshots go
# to build/package/screenshots/installed-pl.png and installed-en.png. Needs xvfb, xdotool and
# imagemagick.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
default_deb=("$root"/build/package/velmora_*.deb)
deb=$(realpath "${1:-${default_deb[-1]}}")
out=${2:-$root/build/package/screenshots}
mkdir -p "$out"
scratch=$(mktemp -d)
installed_before=false
if dpkg-query -W -f='${Status}' velmora 2>/dev/null | grep -q "install ok installed"; then
  installed_before=true
fi
xvfb_pid="" program_pid=""
cleanup() {
  for pid in $program_pid $xvfb_pid; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$scratch"
  if ! $installed_before; then
    apt-get remove -y -qq velmora >/dev/null
  fi
}
trap cleanup EXIT

export DEBIAN_FRONTEND=noninteractive
apt-get install -y -qq "$deb" >/dev/null
desktop=/usr/share/applications/velmora.desktop
# The Exec line without its field codes (%f, %U, ...), as a desktop runs it.
exec_line=$(sed -n 's/^Exec=//p' "$desktop" | head -n 1 | sed 's/ *%[a-zA-Z]//g')
title="Velmora v$(dpkg-query -W -f='${Version}' velmora)"

display=:$((90 + RANDOM % 9))
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
sleep 1

# Starts the desktop entry for a fresh HOME with LANG set, waits for the window, checks the
# language the launcher chose and takes a screenshot.
start_as() {  # NAME LANG EXPECTED_LANGUAGE_FILE
  local home="$scratch/$1" language
  mkdir -p "$home"
  env -i HOME="$home" PATH=/usr/local/bin:/usr/bin:/bin DISPLAY="$display" LANG="$2" \
    sh -c "exec $exec_line" >"$scratch/$1.log" 2>&1 &
  program_pid=$!
  if ! DISPLAY=$display timeout 60 xdotool search --sync --name "^${title//./\\.}\$" >/dev/null; then
    echo "FAILED: no window \"$title\" with LANG=$2" >&2
    cat "$scratch/$1.log" >&2
    return 1
  fi
  sleep 2
  DISPLAY=$display import -window root "$out/installed-$1.png"
  kill "$program_pid"
  wait "$program_pid" 2>/dev/null || true
  program_pid=""
  language=$(sed -n 's/^language=\([^\r]*\).*/\1/p' "$home/.local/share/velmora/nfo.ini")
  if [ "$language" != "$3" ]; then
    echo "FAILED: LANG=$2 gave language=$language, not $3" >&2
    return 1
  fi
  echo "ok: LANG=$2 shows \"$title\", language=$language; screenshot $out/installed-$1.png"
}

start_as pl pl_PL.UTF-8 polski.lng
start_as en en_US.UTF-8 english.lng
if MANPAGER="cat" man velmora-cli 2>/dev/null | grep -q '^SYNOPSIS'; then
  echo "ok: man velmora-cli"
else
  echo "FAILED: man velmora-cli" >&2
  exit 1
fi
echo "installed: all checks passed"
