#!/usr/bin/env bash
# Builds the Debian package (scripts/package.sh) and checks it without installing it
# (tests/package/check_deb.sh: the files the desktop entry and the metainfo name, their
# validators, the dependencies, lintian, and the launcher on the unpacked files). Exits non-zero
# when a check fails.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
deb=$("$root/scripts/package.sh" | tail -n 1)
"$root/tests/package/check_deb.sh" "$deb"
