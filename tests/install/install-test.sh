#!/usr/bin/env bash
# Installs the build into a fresh prefix and runs the installed designhost from there: the
# program finds its libraries and the design package under the prefix, and the man page and
# the completion are where man and bash look. Usage: install-test.sh BUILD_DIR
set -euo pipefail
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
fail() {
  echo "FAIL: $*" >&2
  exit 1
}

cmake --install "$build" --prefix "$prefix" >/dev/null
host="$prefix/bin/designhost"
[ -x "$host" ] || fail "no $host"
for library in bplrtl.so.6.9 bpldataclx.so.6.9 bplvisualclx.so.6.9 bpldesignide.so.6.9 \
  bplvclTirvendalK3D.so bpldclTirvendalK3D.so; do
  [ -f "$prefix/lib/$library" ] || fail "no $prefix/lib/$library"
done
readelf -d "$host" | grep -q 'R.*PATH.*\[\$ORIGIN/../lib\]' || fail "the installed program lost its RPATH"
# Its libraries come from the prefix, not from the build tree.
ldd "$host" | grep -qE "bplrtl.so.6.9 => $prefix/(bin/\.\./)?lib/bplrtl.so.6.9" || fail "bplrtl.so.6.9 not from the prefix"

[ "$("$host" palette)" = $'Tirvendal\tTQVRTable\nTirvendal\tTQVRDatabase' ] || fail "palette: $("$host" palette)"
"$host" new-demo "$prefix/demo" >/dev/null
[ "$("$host" values "$prefix/demo/demo.xfm" Orders.TableName)" = $'customers\nitems\norders' ] ||
  fail "values: $("$host" values "$prefix/demo/demo.xfm" Orders.TableName)"
# The design package loaded is the installed one.
"$host" package-info | grep -q '^name: dclTirvendalK3D$' || fail "package-info"

page="$prefix/share/man/man1/designhost.1"
[ -f "$page" ] || fail "no man page"
MANPATH="$prefix/share/man" MANWIDTH=80 man designhost 2>/dev/null | grep -q 'designhost values' ||
  fail "man designhost does not show the page"
completion="$prefix/share/bash-completion/completions/designhost"
[ -f "$completion" ] || fail "no completion"
bash -c "source '$completion' && complete -p designhost" | grep -q '_designhost' || fail "completion not bound"
echo "installed designhost runs from $prefix"
