#!/usr/bin/env bash
# Checks the formatting of every C++ file and runs clang-tidy on the project's sources.
set -euo pipefail
build=${1:-build}
files=$(git ls-files '*.cpp' '*.h')
echo "clang-format: checking $(echo "$files" | wc -l) files"
echo "$files" | xargs clang-format --dry-run --Werror
sources=$(git ls-files 'host/*.cpp' 'package/*.cpp' 'reg/*.cpp' 'editors/*.cpp' 'fldlinks/*.cpp' 'designhost/*.cpp')
echo "clang-tidy: checking $(echo "$sources" | wc -l) files"
echo "$sources" | xargs -P "$(nproc)" -n 4 clang-tidy -p "$build" --quiet
