#!/usr/bin/env bash
# Fails when a C++ file of the tree differs from what clang-format (the repository's .clang-format)
# makes of it. Tables laid out by hand opt out with "// clang-format off" around them.
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t files < <(git ls-files --cached --others --exclude-standard -- '*.h' '*.cpp')
clang-format --dry-run --Werror "${files[@]}"
echo "format: ok, ${#files[@]} files"
