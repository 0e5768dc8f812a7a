#!/usr/bin/env bash
# Writes designhost's man page from its help texts: help2man makes the page from
# `designhost --help` and `designhost --version`, and the help of every command listed there
# (`designhost help COMMAND`) becomes a part of its COMMANDS section, so the page says what the
# program says. Usage: ManPage.sh PROGRAM OUTPUT
set -euo pipefail
program=$1
output=$2
include=$(mktemp)
trap 'rm -f "$include" "$output.tmp"' EXIT

{
  echo '[COMMANDS]'
  "$program" --help | awk '/^Commands:$/ { on = 1; next } /^$/ { on = 0 } on && /^  [^ ]/ { print $1 }' |
    while read -r command; do
      printf '.SS "designhost %s"\n.nf\n' "$command"
      # Kept as printed: backslashes escaped for roff, and each line led by \& so that none
      # reads as a request.
      "$program" help "$command" | sed -e 's/\\/\\e/g' -e 's/^/\\\&/'
      printf '.fi\n'
    done
} >"$include"

mkdir -p "$(dirname "$output")"
help2man --no-info --section=1 --source="designhost" \
  --name="palette and Object Inspector of design packages, as commands" \
  --include="$include" --output="$output.tmp" "$program"
# The examples are command lines: one a line, as printed, not filled into one paragraph.
awk '/^\.SH EXAMPLES$/ { examples = 1 }
     examples && /^\.IP$/ { print; print ".nf"; next }
     examples && /^\.(PP|SH)/ && !/EXAMPLES/ { print ".fi"; examples = 0 }
     { print }' "$output.tmp" >"$output"
rm -f "$output.tmp"
