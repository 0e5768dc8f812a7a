#!/usr/bin/env bash
# A recorded editing run of a form in a real editor: writes a project of three forms on two
# databases into DIR, opens its reports form in headless Neovim with designhost lsp as the
# language server, and lets tools/lsp-session.lua edit it; what the editor saw goes to OUT.
# Usage: lsp-session.sh BUILD DIR OUT
set -euo pipefail
build=$(cd "$1" && pwd)
dir=$2
out=$3
here=$(cd "$(dirname "$0")" && pwd)
host="$build/bin/designhost"

rm -rf "$dir"
"$host" new-demo "$dir" > /dev/null                       # demo.xfm: database 'Demo'
sqlite3 "$dir/library.tvd" < "$here/demo-library.sql"
"$host" new "$dir/library.xfm" "$dir/library.tvd" > /dev/null 2>&1  # library.xfm: database 'library'
# A form of its own databases none: its tables name those of the other two forms.
cat > "$dir/reports.xfm" <<'FORM'
object Reports: TDataModule
  object Clients: TQVRTable
    DatabaseName = 'Demo'
    TableName = 'customers'
    IndexName = 'ByCompny'
  end
  object ClientsSource: TDataSource
    DataSet = Clients
  end
  object Loans: TQVRTable
    DatabaseName = 'library'
    TableName = 'loan'
  end
end
FORM
dir=$(cd "$dir" && pwd)
HOST="$host" FORM="$dir/reports.xfm" OUT="$out" \
  nvim --headless -u NONE -i NONE -n -c "luafile $here/lsp-session.lua"
