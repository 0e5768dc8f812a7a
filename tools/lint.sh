#!/usr/bin/env bash
# Checks the formatting of every tracked C++ file, then runs clang-tidy (the root .clang-tidy)
# on the project's sources that the build's compile database knows. Any finding fails the run.
#   tools/lint.sh [BUILD_DIR]     BUILD_DIR holds compile_commands.json (default: build)
#   JOBS=n                        clang-tidy runs at a time (default: the number of cores)
#   LINT_CACHE=0                  check every source again, even one unchanged since a clean run
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-build}
jobs=${JOBS:-$(nproc)}
database="$build/compile_commands.json"
started=$SECONDS
failed=0

tracked() { git ls-files -- "$@" | while read -r f; do [ -f "$f" ] && echo "$f"; done; }

mapfile -t formatted < <(tracked '*.cpp' '*.h')
echo "clang-format: checking ${#formatted[@]} files"
if ! printf '%s\n' "${formatted[@]}" | xargs -r clang-format --dry-run --Werror; then
  echo "clang-format: files above differ from .clang-format (make format rewrites them)"
  failed=1
fi

if [ ! -f "$database" ]; then
  echo "clang-tidy: no $database; configure the build first (make $build/build.ninja BUILD=$build)" >&2
  exit 1
fi

# The sources, not the tests: a source the compile database does not know (a layer that is not
# configured in this build, a file added since) cannot be checked and is named instead.
known=$(grep -o '"file": *"[^"]*"' "$database" | sed -E 's/^"file": *"(.*)"$/\1/')
sources=()
while read -r f; do
  if grep -qxF "$PWD/$f" <<<"$known"; then
    sources+=("$f")
  else
    echo "clang-tidy: skipped $f (not in $database)"
  fi
done < <(tracked 'host/*.cpp' 'package/*.cpp' 'reg/*.cpp' 'editors/*.cpp' 'fldlinks/*.cpp' 'designhost/*.cpp' \
  'bench/*.cpp')

# A source that passed stays passed while it, every project header, the configuration and
# clang-tidy itself are unchanged; its stamp in the build folder records that.
export LINT_BUILD=$build LINT_LOGS LINT_CACHE_DIR="" LINT_KEY
LINT_LOGS=$(mktemp -d)
trap 'rm -rf "$LINT_LOGS"' EXIT
if [ "${LINT_CACHE:-1}" != 0 ]; then
  LINT_CACHE_DIR="$build/lint-passed"
  mkdir -p "$LINT_CACHE_DIR"
fi
LINT_KEY=$({
  clang-tidy --version
  cat .clang-tidy
  git ls-files -co --exclude-standard -- '*.h' | sort | while read -r h; do [ -f "$h" ] && cat "$h"; done
} | sha1sum | cut -c1-40)

tidy_one() {
  local file=$1 name stamp
  name=$(tr / _ <<<"$file")
  stamp="$LINT_CACHE_DIR/$name.$({ echo "$LINT_KEY"; cat "$file"; } | sha1sum | cut -c1-40)"
  if [ -n "$LINT_CACHE_DIR" ] && [ -e "$stamp" ]; then
    touch "$LINT_LOGS/$name.cached"
    return 0
  fi
  # The database holds gcc's command lines; a warning option clang does not know is no finding.
  if clang-tidy -p "$LINT_BUILD" --quiet --warnings-as-errors='*' --extra-arg=-Wno-unknown-warning-option \
    "$file" >"$LINT_LOGS/$name.log" 2>&1; then
    rm -f "$LINT_LOGS/$name.log"
    if [ -n "$LINT_CACHE_DIR" ]; then
      rm -f "$LINT_CACHE_DIR/$name".*
      touch "$stamp"
    fi
  fi
  return 0
}
export -f tidy_one

echo "clang-tidy: checking ${#sources[@]} files, $jobs at a time"
printf '%s\n' "${sources[@]}" | xargs -r -P "$jobs" -n 1 bash -c 'tidy_one "$1"' _
cached=$(find "$LINT_LOGS" -name '*.cached' | wc -l)
[ "$cached" -gt 0 ] && echo "clang-tidy: $cached of them unchanged since they last passed"
mapfile -t logs < <(find "$LINT_LOGS" -name '*.log' | sort)
if [ ${#logs[@]} -gt 0 ]; then
  for log in "${logs[@]}"; do
    echo "---- $(basename "$log" .log)"
    grep -vE '^[0-9]+ (warnings?|errors?) generated\.$|^Suppressed [0-9]+ warnings|^Use -header-filter' "$log" || true
  done
  # A header's finding shows once per source that includes it; the summary names each once.
  echo "clang-tidy: findings in ${#logs[@]} of ${#sources[@]} files:"
  cat "${logs[@]}" | grep -E '^(/.*: )?(warning|error): ' | sed "s|^$PWD/||" | sort -u || true
  failed=1
fi

echo "lint: $((SECONDS - started)) s"
exit $failed
