# shellcheck shell=bash
# What the package checks share, sourced by them: `check` runs one named check and counts a
# failure, showing the output it made, and `finish` ends the script with the count. The caller
# has a scratch folder in $scratch.
failures=0
# shellcheck disable=SC2154  # $scratch is set by the caller
: "${scratch:?the caller sets a scratch folder}"

check() {  # DESCRIPTION COMMAND...
  local what=$1
  shift
  if "$@" >"$scratch/check-output" 2>&1; then
    echo "ok: $what"
  else
    echo "FAILED: $what" >&2
    sed 's/^/    /' "$scratch/check-output" >&2
    failures=$((failures + 1))
  fi
}

finish() {  # NAME
  if [ "$failures" -ne 0 ]; then
    echo "$1: $failures check(s) failed" >&2
    exit 1
  fi
  echo "$1: all checks passed"
}
