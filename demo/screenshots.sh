#!/bin/sh
# Plays demo/tour.txt headless on the built Tolvan.tgp and keeps one picture of every
# room in docs/screenshots/.   Usage: demo/screenshots.sh [BUILD_FOLDER]   (default: build)
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
[ -x "$build/zelkin" ] && [ -f "$build/Tolvan.tgp" ] || {
    echo "screenshots.sh: build the engine and the demo first (make build)" >&2
    exit 1
}
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
"$build/zelkin" "$build/Tolvan.tgp" --headless --seed 1 --input "$root/demo/tour.txt" \
    --out "$out" --save-dir "$out/saves"
mkdir -p "$root/docs/screenshots"
for room in cottage harbour cliffpath lighthouse menu ending; do
    cp "$out/$room.png" "$root/docs/screenshots/$room.png"
done
echo "Wrote $root/docs/screenshots/{cottage,harbour,cliffpath,lighthouse,menu,ending}.png"
