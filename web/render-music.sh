#!/bin/bash
# Renders the MIDI tracks of a game package to OGG Vorbis for the web page, which has
# no synthesiser: FluidSynth with the sound font the desktop engine would pick, so the
# music sounds as it does there. Each file is named after the POSIX checksum and size
# of its MIDI file ("CRC-SIZE.ogg", as `cksum` prints them), which is how the engine
# finds it; list.txt names them all for the page to fetch. Other music files (OGG,
# WAV, MP3) play in the page as they are.
#
# Usage: web/render-music.sh PACKAGE OUTDIR
set -euo pipefail
package=$1
out=$2
# The password of every game package (package/package.h).
password=k3m7p2w9t4q8z

soundfont=
for f in /usr/share/sounds/sf2/default-GM.sf2 /usr/share/sounds/sf3/default-GM.sf3 \
	/usr/share/sounds/sf2/TimGM6mb.sf2 /usr/share/sounds/sf2/FluidR3_GM.sf2 \
	/usr/share/sounds/sf3/MuseScore_General.sf3 /usr/share/soundfonts/default.sf2 \
	/usr/share/soundfonts/FluidR3_GM.sf2; do
	if [ -f "$f" ]; then soundfont=$f && break; fi
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
rm -rf "$out" && mkdir -p "$out"
: >"$out/list.txt"

unzip -Z1 "$package" | tr -d '\r' | grep -iE '^music[\\/][^\\/]+$' | while IFS= read -r entry; do
	# unzip takes a name as a pattern, where a backslash escapes; '?' matches it.
	unzip -p -P "$password" "$package" "${entry//\\/?}" >"$work/track" 2>/dev/null || continue
	magic=$(head -c 4 "$work/track" | od -An -c | tr -d ' \n')
	riff_form=$(dd if="$work/track" bs=1 skip=8 count=4 2>/dev/null | od -An -c | tr -d ' \n')
	[ "$magic" = MThd ] || { [ "$magic" = RIFF ] && [ "$riff_form" = RMID ]; } || continue
	if [ -z "$soundfont" ]; then
		echo "render-music: no sound font (apt-get install timgm6mb-soundfont); $entry stays silent" >&2
		continue
	fi
	read -r crc size _ < <(cksum "$work/track")
	name=$crc-$size.ogg
	[ -f "$out/$name" ] && continue
	# Gain 1.2: SDL_mixer's FluidSynth gain at full volume; the page's mixer then scales
	# the track by the game's volume as it scales the synthesiser's gain on the desktop.
	fluidsynth -n -i -q -r 44100 -g 1.2 -F "$work/track.wav" "$soundfont" "$work/track" >/dev/null 2>&1 ||
		{ echo "render-music: fluidsynth cannot render $entry" >&2; exit 1; }
	oggenc -Q -q 3 -o "$out/$name" "$work/track.wav"
	echo "$name" >>"$out/list.txt"
done
