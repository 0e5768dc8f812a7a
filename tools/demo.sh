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

section "The database file name: the open-file dialog, answered by a script"
script="$demo/choose-file.txt"
cat > "$script" <<'SCRIPT'
# The dialog refuses a file that is not there, then takes the demo database.
dump
file missing.tvd
file demo.tvd
SCRIPT
sed 's/^/    /' "$script"
run edit "$form" Database1.DatabaseFileName --script "$script" --dry-run

section "The Field Link Designer: linking the orders to their customers"
script="$demo/link-orders.txt"
cat > "$script" <<'SCRIPT'
# Choose the index on CustNo, join it to the customer's number, look, and press OK.
select IndexList ByCustNo
dump
select DetailList CustNo
select MasterList CustNo
click AddButton
dump
click Button1
SCRIPT
sed 's/^/    /' "$script"
run edit "$form" Orders.MasterFields --script "$script"

section "A gap in the chosen index is refused"
script="$demo/gap.txt"
cat > "$script" <<'SCRIPT'
select IndexList ByCustomer
select DetailList SaleDate
select MasterList Country
click AddButton
click Button1
answer OK
key escape
SCRIPT
sed 's/^/    /' "$script"
run edit "$form" Orders.MasterFields --script "$script"

section "The result"
run properties "$form" Orders | grep -E '^(Index|Master)'

section "Checking the forms against the database"
run check "$form"
echo "(exit status 0: nothing stale)"
stale="$demo/stale"
mkdir -p "$stale"
# A copy of the form whose index name went stale, as after the index was renamed.
sed -E -e "s/^(    IndexName = ).*/\1'ByCustomr'/" -e "s|DatabaseFileName = 'demo.tvd'|DatabaseFileName = '../demo.tvd'|" \
  "$form" > "$stale/orders.xfm"
grep -n "IndexName" "$stale/orders.xfm" | sed 's/^/    /'
status=0
run check "$stale" || status=$?
echo "(exit status $status)"
run check --json "$stale" || true

section "The master/detail links of the form, and a picture of them"
run links "$form"
run links --json "$form"
printf '$ designhost links --dot %s | dot -Tsvg -o %s\n' "$form" "$demo/links.svg"
"$host" links --dot "$form" > "$demo/links.dot"
dot -Tsvg "$demo/links.dot" -o "$demo/links.svg"
ls -l "$demo/links.svg"

section "A form for an existing database in one step: new, then its links pictured"
library="$demo/library"
mkdir -p "$library"
sqlite3 "$library/library.tvd" < "$(dirname "$0")/demo-library.sql"
run new "$library/library.xfm" "$library/library.tvd"
run check "$library/library.xfm"
echo "(exit status 0: the written form checks clean)"
run links "$library/library.xfm"
printf '$ designhost links --dot %s | dot -Tpng -o %s\n' "$library/library.xfm" "$library/links.png"
"$host" links --dot "$library/library.xfm" > "$library/links.dot"
dot -Tpng "$library/links.dot" -o "$library/links.png"
dot -Tsvg "$library/links.dot" -o "$library/links.svg"
ls -l "$library/links.png" "$library/links.svg"

section "Two tables that refer to each other: the link new leaves out, offered and refused"
desk="$library/desk.xfm"
run new --tables staff,branch "$desk" "$library/library.tvd"
run links --suggest "$desk"
status=0
run link "$desk" branch || status=$?
echo "(exit status $status)"

section "Editing a form in Neovim through designhost lsp (recorded in $demo/lsp-session.txt)"
bash "$(dirname "$0")/lsp-session.sh" "$build" "$demo/lsp-project" "$demo/lsp-session.txt"
sed 's/^/    /' "$demo/lsp-session.txt"

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  section "The design window on the demo (close it to finish)"
  "$host" gui "$form"
else
  section "No display: pictures of what a person would see, rendered off screen"
  shots="$demo/screenshots"
  mkdir -p "$shots"
  QT_QPA_PLATFORM=offscreen "$host" gui "$form" --screenshot "$shots/design-window.png"
  # A copy of the linked form with both tables open: the data view shows the customers and,
  # below them, only the orders of the customer the master's cursor is on.
  live="$demo/live.xfm"
  cp "$form" "$live"
  "$host" set "$live" Customers.Active True
  "$host" set "$live" Orders.Active True
  QT_QPA_PLATFORM=offscreen "$host" gui "$live" --select Orders --screenshot "$shots/data-view.png"
  QT_QPA_PLATFORM=offscreen "$host" gui "$live" --select Orders --expand FieldDefs,IndexDefs \
    --screenshot "$shots/structure-rows.png"
  # The help window on the Field Link Designer's topic (its help context, 27140).
  QT_QPA_PLATFORM=offscreen "$host" gui "$live" --help-topic 27140 --screenshot "$shots/help-window.png"
  QT_QPA_PLATFORM=offscreen "$host" edit "$form" Orders.MasterFields --script "$demo/link-orders.txt" \
    --screenshot "$shots/field-link-designer" --dry-run >/dev/null
  find "$shots" -name '*.png' | sort
fi
