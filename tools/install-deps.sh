#!/usr/bin/env bash
# Installs every Debian package the build, the tests and the demo need (and those of the
# groups named as arguments), and only what is missing, so a second run costs nothing.
set -euo pipefail

packages=(
  g++ cmake ninja-build make pkg-config git
  clang clang-format clang-tidy libclang-rt-14-dev
  libsqlite3-dev sqlite3
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  nlohmann-json3-dev libcli11-dev
  qt6-base-dev libgl-dev libqt6test6 fonts-dejavu-core
  graphviz help2man xvfb xdotool x11-utils file dpkg-dev man-db binutils python3 time lintian
  neovim
)
# Named groups for tools that neither the build nor the tests need:
#   fault-injection  strace, for tools/fault-inject.py
for group in "$@"; do
  case "$group" in
    fault-injection) packages+=(strace) ;;
    *) echo "install-deps.sh: unknown group '$group'" >&2; exit 2 ;;
  esac
done

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "installing: ${missing[*]}"
sudo_cmd=""
[ "$(id -u)" -eq 0 ] || sudo_cmd="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo_cmd apt-get update -qq
$sudo_cmd apt-get install -y -qq --no-install-recommends "${missing[@]}"
