#!/usr/bin/env bash
# Downloads and unpacks Debian's jsoncpp source package into DIR, with a
# private apt configuration: the machine's own package sources, turned into
# source entries, and lists and cache of its own inside DIR. The system's apt
# state is neither read for sources nor changed.
# Usage: cmake/fetch-jsoncpp-source.sh DIR
set -euo pipefail

dir=$(mkdir -p "$1" && cd "$1" && pwd)
apt_dir=$dir/apt
rm -rf "$apt_dir" "$dir"/jsoncpp-* "$dir"/*jsoncpp_*
mkdir -p "$apt_dir/sources" "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial"

# One-line entries "deb [options] URI suite components" and deb822 stanzas
# "Types: deb" become their deb-src counterparts; keys stay as configured.
shopt -s nullglob
for list in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
  [ -f "$list" ] && sed -n 's/^[[:space:]]*deb[[:space:]]/deb-src /p' "$list"
done >"$apt_dir/sources/source-entries.list"
for sources in /etc/apt/sources.list.d/*.sources; do
  sed 's/^Types:.*/Types: deb-src/' "$sources" >"$apt_dir/sources/$(basename "$sources")"
done

apt_options=(-oDir::Etc::SourceList=/dev/null "-oDir::Etc::SourceParts=$apt_dir/sources"
             "-oDir::State::Lists=$apt_dir/lists" "-oDir::Cache=$apt_dir/cache"
             -oAPT::Sandbox::User=root -qq)
apt-get "${apt_options[@]}" update
(cd "$dir" && apt-get "${apt_options[@]}" source --download-only libjsoncpp-dev)

tar -xf "$(ls "$dir"/*jsoncpp_*.orig.tar.* | head -n 1)" -C "$dir"
rm -rf "$apt_dir" "$dir"/*jsoncpp_*
