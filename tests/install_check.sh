#!/usr/bin/env bash
# Installs the build into a scratch DESTDIR and checks the installed engine: every
# listed file is there, and the installed zelkin finds its game in ../share/zelkin.
set -euo pipefail
build="$1"
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
DESTDIR="$stage" cmake --install "$build" --prefix /usr/local >/dev/null
root="$stage/usr/local"
for f in bin/zelkin bin/zelkin-pack bin/zelkin-inspect share/zelkin/Tolvan.tgp \
         share/applications/zelkin.desktop share/icons/hicolor/scalable/apps/zelkin.svg \
         share/man/man6/zelkin.6 share/man/man1/zelkin-pack.1 share/man/man1/zelkin-inspect.1; do
    [ -f "$root/$f" ] || { echo "not installed: $f"; exit 1; }
done
cd "$stage"
"$root/bin/zelkin" --headless --frames 5 --save-dir "$stage/saves" --out "$stage/out"
"$root/bin/zelkin-inspect" "$root/share/zelkin/Tolvan.tgp" >/dev/null
echo "installed engine runs"
