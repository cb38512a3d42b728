#!/usr/bin/env bash
# The libraries a Windows cross build of the host needs, under PREFIX: the
# JSON library's headers, copied from this system's package, and libxml2,
# built as a static library from Debian's own source package: the version this system's
# library has where the archive still holds it, so that documents are read
# and written the same way on both systems. apt runs with a configuration
# of its own in PREFIX, made from the system's package sources; the
# system's configuration is left as it is.
# Usage: windows-deps.sh PREFIX TRIPLE
set -euo pipefail
prefix=$(realpath -m "$1")
triple=$2
root=$(cd "$(dirname "$0")/.." && pwd)

# Header only: the same files serve every machine.
mkdir -p "$prefix/include" "$prefix/share/cmake"
cp -r /usr/include/nlohmann "$prefix/include/"
cp -r /usr/share/cmake/nlohmann_json "$prefix/share/cmake/"

[ -f "$prefix/lib/libxml2.a" ] && exit 0

work=$prefix/work
rm -rf "$work"
mkdir -p "$work/sources.list.d" "$work/lists/partial" "$work/cache/archives/partial" "$work/package"

# The system's binary package sources, turned into source package sources.
if [ -f /etc/apt/sources.list ]; then
  sed -n 's/^deb \(.*\)/deb-src \1/p' /etc/apt/sources.list > "$work/sources.list"
else
  : > "$work/sources.list"
fi
for file in /etc/apt/sources.list.d/*.sources; do
  [ -f "$file" ] && sed 's/^Types: *deb$/Types: deb-src/' "$file" > "$work/sources.list.d/$(basename "$file")"
done
apt_private=(-o "Dir::Etc::SourceList=$work/sources.list" -o "Dir::Etc::SourceParts=$work/sources.list.d"
  -o "Dir::State::Lists=$work/lists" -o "Dir::Cache=$work/cache" -o "APT::Sandbox::User=root" -qq)
apt-get "${apt_private[@]}" update
version=$(dpkg-query -W -f='${source:Version}' libxml2 2>/dev/null || true)
cd "$work/package"
apt-get "${apt_private[@]}" source --download-only "libxml2=$version" ||
  apt-get "${apt_private[@]}" source --download-only libxml2
dpkg-source --no-check -x ./*.dsc source > /dev/null

cmake -S source -B build -DCMAKE_TOOLCHAIN_FILE="$root/cmake/windows.toolchain.cmake" \
  -DMIRTIL_WINDOWS_TRIPLE="$triple" -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
  -DBUILD_SHARED_LIBS=OFF -DLIBXML2_WITH_ICONV=OFF -DLIBXML2_WITH_LZMA=OFF -DLIBXML2_WITH_ZLIB=OFF \
  -DLIBXML2_WITH_PYTHON=OFF -DLIBXML2_WITH_PROGRAMS=OFF -DLIBXML2_WITH_TESTS=OFF -DLIBXML2_WITH_HTTP=OFF \
  -DLIBXML2_WITH_FTP=OFF -DLIBXML2_WITH_MODULES=OFF > /dev/null
cmake --build build -j "${JOBS:-2}" > /dev/null
cmake --install build > /dev/null
rm -rf "$work"
