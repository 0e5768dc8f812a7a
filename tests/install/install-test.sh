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
# The libraries are the program's own: a private folder under the multiarch library folder.
private=lib/$(dpkg-architecture -qDEB_HOST_MULTIARCH)/tirvendal
libdir="$prefix/$private"
for library in bplrtl.so.6.9 bpldataclx.so.6.9 bplvisualclx.so.6.9 bpldesignide.so.6.9 \
  bplvclTirvendalK3D.so bpldclTirvendalK3D.so libtirvendalqt.so designhostgui.so; do
  [ -f "$libdir/$library" ] || fail "no $libdir/$library"
done
stray=$(find "$prefix" -name '*.so*' ! -path "$libdir/*")
[ -z "$stray" ] || fail "libraries outside $libdir: $stray"
# Each output is read whole before grep -q looks at it: grep leaving early would end the writer
# with SIGPIPE, and pipefail would count that as a failure.
grep -q "RUNPATH.*\[\\\$ORIGIN/../$private\]" <<<"$(readelf -d "$host")" ||
  fail "the installed program's RUNPATH does not lead to $libdir"
grep -q 'RUNPATH.*\[\$ORIGIN\]' <<<"$(readelf -d "$libdir/bpldclTirvendalK3D.so")" ||
  fail "the design package does not find its libraries beside it"
# Its libraries come from the prefix, not from the build tree.
grep -qE "bplrtl.so.6.9 => $prefix/(bin/\.\./)?$private/bplrtl.so.6.9" <<<"$(ldd "$host")" ||
  fail "bplrtl.so.6.9 not from the prefix"

[ "$("$host" palette)" = $'Tirvendal\tTQVRTable\nTirvendal\tTQVRDatabase' ] || fail "palette: $("$host" palette)"
"$host" new-demo "$prefix/demo" >/dev/null
[ "$("$host" values "$prefix/demo/demo.xfm" Orders.TableName)" = $'customers\nitems\norders' ] ||
  fail "values: $("$host" values "$prefix/demo/demo.xfm" Orders.TableName)"
# The design package loaded is the installed one.
grep -q '^name: dclTirvendalK3D$' <<<"$("$host" package-info)" || fail "package-info"
# The design window's library, which the program loads only when it shows a window, is found
# beside the others, and its own libraries come from the prefix too: a picture of the window
# proves it loaded and ran.
grep -qE "libtirvendalqt.so => $libdir/libtirvendalqt.so" <<<"$(ldd "$libdir/designhostgui.so")" ||
  fail "the design window's library does not find libtirvendalqt.so in the prefix"
QT_QPA_PLATFORM=offscreen "$host" gui "$prefix/demo/demo.xfm" --screenshot "$prefix/window.png" ||
  fail "gui --screenshot did not run"
[ "$(head -c 8 "$prefix/window.png" | od -An -tx1 | tr -d ' \n')" = 89504e470d0a1a0a ] || fail "gui wrote no PNG picture"

page="$prefix/share/man/man1/designhost.1.gz"
[ -f "$page" ] || fail "no man page"
manual=$(MANPATH="$prefix/share/man" MANWIDTH=80 man designhost 2>/dev/null)
grep -q 'designhost values' <<<"$manual" || fail "man designhost does not show the page"
# Each example keeps a line of its own.
grep -qx '[[:space:]]*designhost new-demo demo' <<<"$manual" || fail "the examples are not one a line"
completion="$prefix/share/bash-completion/completions/designhost"
[ -f "$completion" ] || fail "no completion"
grep -q '_designhost' <<<"$(bash -c "source '$completion' && complete -p designhost")" || fail "completion not bound"
for doc in copyright changelog.Debian.gz; do
  [ -f "$prefix/share/doc/tirvendal-designhost/$doc" ] || fail "no $doc in share/doc/tirvendal-designhost"
done
# The installed Vim files: a form is of filetype xfm, and its keywords are coloured.
colour=$(nvim --headless -u NONE -i NONE --cmd "set rtp^=$prefix/share/vim" -c 'filetype on' -c 'syntax on' \
  -c "edit $prefix/demo/demo.xfm" \
  -c 'lua io.stdout:write(vim.bo.filetype .. " " .. vim.fn.synIDattr(vim.fn.synID(2, 3, 1), "name"))' -c 'qa!' 2>&1)
[ "$colour" = "xfm xfmKeyword" ] || fail "the Vim files do not colour a form: $colour"
echo "installed designhost runs from $prefix"
