#!/usr/bin/env bash
# The demo: writes the demo database and data module under BUILD/demo and shows the design
# package at work on them through designhost, as the IDE would use it.
set -euo pipefail
build=${1:-build}
host="$build/bin/designhost"
demo="$build/demo"
form="$demo/demo.xfm"

section() { printf '\n== %s\n' "$*"; }
run() {
  printf '$ designhost %s\n' "$*"
  "$host" "$@"
}

rm -rf "$demo"
section "A fresh demo database and data module"
run new-demo "$demo"

section "The component palette"
run palette

section "The package"
run package-info

section "The Object Inspector's rows for the orders table"
run properties "$form" Orders

section "The drop-down lists"
run values "$form" Database1.SessionName
for prop in DatabaseName TableName IndexName IndexFieldNames; do
  run values "$form" "Orders.$prop"
done

section "Choosing an index from the list"
run set "$form" Orders.IndexName ByCustomer
run properties "$form" Orders | grep -E '^Index'

if [ -f tools/demo-edit.sh ]; then
  # shellcheck source=/dev/null
  source tools/demo-edit.sh
fi
