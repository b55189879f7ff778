#!/usr/bin/env bash
# Unpacks the Debian package into a scratch root (as dpkg would install it, without
# touching the system) and checks it: the listed files are there, the shared-library
# dependencies were computed, and the unpacked engine plays the demo headless.
set -euo pipefail
deb="$1"
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$deb" "$root"
for f in usr/bin/zelkin usr/bin/zelkin-pack usr/bin/zelkin-inspect usr/share/zelkin/Tolvan.tgp \
         usr/share/applications/zelkin.desktop usr/share/mime/packages/zelkin.xml \
         usr/share/metainfo/org.zelkin.zelkin.metainfo.xml usr/share/man/man6/zelkin.6.gz \
         usr/share/icons/hicolor/scalable/apps/zelkin.svg; do
    [ -e "$root/$f" ] || { echo "not in the package: $f"; exit 1; }
done
dpkg-deb -f "$deb" Depends | grep -q 'libsdl2-2.0-0' ||
    { echo "no shared-library dependencies: $(dpkg-deb -f "$deb" Depends)"; exit 1; }
cd "$root"
SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy \
    "$root/usr/bin/zelkin" --headless --frames 50 --save-dir "$root/saves" --out "$root/out"
echo "the unpacked package plays the demo"
