#!/usr/bin/env bash
# The Debian package as a user meets it: builds it, has lintian check it (any error or warning
# fails), unpacks it into a scratch root and runs the unpacked designhost found through PATH:
# its version, a check of a demo form, the design package's information and a picture of the
# design window, all from the scratch root's own libraries. Usage: package-check.sh BUILD_DIR
set -euo pipefail
build=$1
fail() {
  echo "package-check: $*" >&2
  exit 1
}

rm -f "$build"/tirvendal-designhost_*.deb
cmake --build "$build" --target package >/dev/null
debs=("$build"/tirvendal-designhost_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "expected one package in $build, found: ${debs[*]}"
deb=${debs[0]}
echo "lintian --tag-display-limit 0 $(basename "$deb")"
lintian --tag-display-limit 0 --fail-on error,warning "$deb" || fail "lintian finds errors or warnings"

depends=$(dpkg-deb --field "$deb" Depends)
for needed in libc6 libsqlite3-0 libqt6widgets6; do
  grep -qw "$needed" <<<"$depends" || fail "Depends lacks $needed: $depends"
done

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg-deb --extract "$deb" "$root"
private=usr/lib/$(dpkg-architecture -qDEB_HOST_MULTIARCH)/tirvendal
stray=$(find "$root" -name '*.so*' ! -path "$root/$private/*")
[ -z "$stray" ] || fail "libraries outside $private, where ldconfig would list them: $stray"

# An empty RUNPATH entry is read as the current folder: neither the package nor the build tree
# may load libraries from wherever the user stands.
for object in "$root/usr/bin/designhost" "$root/$private"/*.so* "$build"/bin/designhost "$build"/lib/*.so*; do
  runpath=$(readelf --dynamic --wide "$object" | sed -n 's/.*(RUNPATH).*\[\(.*\)\]/\1/p')
  [[ -n "$runpath" && ":$runpath:" != *::* ]] || fail "$object: RUNPATH '$runpath' is missing or has an empty entry"
done

# Nothing leads the program to the build tree: only its RUNPATH finds its libraries.
unset LD_LIBRARY_PATH
export PATH="$root/usr/bin:$PATH"
[ "$(command -v designhost)" = "$root/usr/bin/designhost" ] || fail "designhost is not the unpacked one"
version=$(designhost --version)
grep -q "$(dpkg-deb --field "$deb" Version | cut -d- -f1)" <<<"$version" || fail "designhost --version: $version"
designhost new-demo "$root/demo" >/dev/null
designhost check "$root/demo/demo.xfm" || fail "check of the demo form"
grep -q '^name: dclTirvendalK3D$' <<<"$(designhost package-info)" || fail "package-info"
QT_QPA_PLATFORM=offscreen designhost gui "$root/demo/demo.xfm" --screenshot "$root/window.png" ||
  fail "the design window's plugin does not run from the unpacked package"
echo "$(basename "$deb"): lintian clean; designhost runs from $root/usr/bin ($version)"
