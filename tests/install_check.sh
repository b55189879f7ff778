#!/usr/bin/env bash
# Installs the build into a scratch DESTDIR and checks the installed engine: every
# listed file is there, the installed zelkin finds its game in ../share/zelkin, the
# desktop entry and the catalogue entry pass their validators, and the installed file
# type names game packages (and only them).
set -euo pipefail
build="$1"
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
DESTDIR="$stage" cmake --install "$build" --prefix /usr/local >/dev/null
root="$stage/usr/local"
for f in bin/zelkin bin/zelkin-pack bin/zelkin-inspect share/zelkin/Tolvan.tgp \
         share/applications/zelkin.desktop share/icons/hicolor/scalable/apps/zelkin.svg \
         share/man/man6/zelkin.6 share/man/man1/zelkin-pack.1 share/man/man1/zelkin-inspect.1 \
         share/mime/packages/zelkin.xml share/metainfo/org.zelkin.zelkin.metainfo.xml \
         share/icons/hicolor/scalable/mimetypes/application-x-zelkin-game.svg; do
    [ -f "$root/$f" ] || { echo "not installed: $f"; exit 1; }
done
cd "$stage"
"$root/bin/zelkin" --headless --frames 5 --save-dir "$stage/saves" --out "$stage/out"
"$root/bin/zelkin-inspect" "$root/share/zelkin/Tolvan.tgp" >/dev/null
desktop-file-validate "$root/share/applications/zelkin.desktop"
appstreamcli validate --no-net --pedantic --no-color "$root/share/metainfo/org.zelkin.zelkin.metainfo.xml" >/dev/null
update-mime-database "$root/share/mime" 2>/dev/null
cp "$root/share/zelkin/Tolvan.tgp" "$stage/game.tgp"
cp "$root/share/zelkin/Tolvan.tgp" "$stage/archive.zip"
type_of() {
    XDG_DATA_DIRS="$root/share:/usr/share" XDG_DATA_HOME="$stage/nothing" XDG_CURRENT_DESKTOP= \
        xdg-mime query filetype "$1"
}
[ "$(type_of "$stage/game.tgp")" = application/x-zelkin-game ] ||
    { echo "game.tgp is $(type_of "$stage/game.tgp")"; exit 1; }
[ "$(type_of "$stage/archive.zip")" = application/zip ] ||
    { echo "archive.zip is $(type_of "$stage/archive.zip")"; exit 1; }
echo "installed engine runs; its desktop entry, catalogue entry and file type check out"
