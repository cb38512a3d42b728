#!/usr/bin/env bash
# Installs the Debian packages the build needs, only those that are missing,
# and the node packages of the page.
# Idempotent and non-interactive; needs root (or sudo) only when something is missing.
set -euo pipefail

packages=(g++ cmake make pkg-config libgtest-dev libgmock-dev libbenchmark-dev binutils libxml2-dev librsvg2-dev libcairo2-dev libgif-dev nlohmann-json3-dev
  clang libclang-rt-14-dev valgrind
  g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix binutils-mingw-w64-i686 binutils-mingw-w64-x86-64
  python3-pefile wine64 dpkg-dev
  emscripten chromium)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -ne 0 ]; then
  echo "Installing missing packages: ${missing[*]}"
  sudo=""
  if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -qq
  $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# The page's node packages (libxml2's sources for the browser build, the
# browser driver for its tests), as the lock file pins them, when missing
# or older than the lock file. Their install scripts are not run: nothing
# of theirs is built or downloaded.
web="$(dirname "$0")/../web"
if [ ! -f "$web/node_modules/.package-lock.json" ] || [ "$web/package-lock.json" -nt "$web/node_modules/.package-lock.json" ]; then
  echo "Installing the page's node packages"
  (cd "$web" && npm ci --ignore-scripts --no-audit --no-fund --loglevel=error)
fi
