#!/usr/bin/env bash
# Makes a small music tree of tones for the demo: MP3s with ID3v2.3 and ID3v2.4 tags
# (umlauts included, written as UTF-16 in the v2.3 tag and as UTF-8 in the v2.4 one),
# an OGG with comments, a WMA, an album with folder.jpg, a directory that looks like a
# file ("Live.mp3"), one with a dot in its name ("Best.Of") and the favourites
# directory "$  Favourites". Whatever already exists is left as it is.
#   scripts/make-demo-media.sh DIR
set -euo pipefail

if [ $# -ne 1 ] || [ -z "$1" ]; then
  echo "usage: $0 DIR" >&2
  exit 2
fi
root="$1"
command -v ffmpeg >/dev/null || { echo "make-demo-media: ffmpeg is missing (scripts/setup.sh installs it)" >&2; exit 1; }

# Writes to a temporary name first, so an interrupted run leaves no half file behind
# that a later run would take as done.
produce() {
  local out="$1"; shift
  [ -e "$out" ] && return 0
  mkdir -p "$(dirname "$out")"
  local tmp
  tmp="$(dirname "$out")/.partial-$$.${out##*.}"
  if ! ffmpeg -nostdin -v error -y "$@" "$tmp"; then
    rm -f "$tmp"
    echo "make-demo-media: could not make $out" >&2
    exit 1
  fi
  mv "$tmp" "$out"
}

# tone OUT FREQUENCY SECONDS CODEC-AND-TAG-OPTIONS...
tone() {
  local out="$1" freq="$2" seconds="$3"; shift 3
  produce "$out" -f lavfi -i "sine=frequency=$freq:duration=$seconds:sample_rate=44100" \
    -f lavfi -i "sine=frequency=$((freq * 3 / 2)):duration=$seconds:sample_rate=44100" \
    -filter_complex "[0:a][1:a]amerge=inputs=2,volume=0.3[a]" -map "[a]" "$@"
}

mp3() {
  local out="$1" freq="$2" version="$3" title="$4" artist="$5" album="$6" year="$7" genre="$8"; shift 8
  tone "$out" "$freq" 4 -c:a libmp3lame "$@" -id3v2_version "$version" -write_id3v1 0 \
    -metadata title="$title" -metadata artist="$artist" -metadata album="$album" \
    -metadata date="$year" -metadata genre="$genre"
}

album="$root/Zarn Demo"
mp3 "$root/Intro.mp3" 330 3 "Intro" "Zarn" "" 2024 "Soundtrack" -b:a 128k
mp3 "$album/01 - Morning Drive.mp3" 440 3 "Morgenfahrt über Land" "Zarn Demo Band" "Zarn Demo" 2004 "Rock" -b:a 192k
mp3 "$album/02 - Autobahn.mp3" 494 4 "Autobahn Süd" "Zarn Demo Band" "Zarn Demo" 2004 "Electronic" -q:a 4
mp3 "$album/03 - Tunnel.mp3" 523 3 "Tunnel" "Zarn Demo Band" "Zarn Demo" 2004 "Rock" -b:a 128k
produce "$album/folder.jpg" -f lavfi -i "testsrc2=size=320x320:rate=1" -frames:v 1 -q:v 3

tone "$root/Best.Of/Evening Tone.ogg" 392 4 -c:a libvorbis -q:a 3 \
  -metadata title="Evening Tone" -metadata artist="Zarn Demo Band" -metadata album="Best Of"
tone "$root/Best.Of/Night Tone.wma" 349 4 -c:a wmav2 -b:a 128k \
  -metadata title="Night Tone" -metadata artist="Zarn Demo Band" -metadata album="Best Of"

mp3 "$root/Live.mp3/Encore.mp3" 587 4 "Encore" "Zarn Demo Band" "Live" 2010 "Rock" -b:a 160k

# A favourite carries its cover under its own name, as adding one makes it.
favourites="$root/\$  Favourites"
mkdir -p "$favourites"
[ -e "$favourites/02 - Autobahn.mp3" ] || cp "$album/02 - Autobahn.mp3" "$favourites/02 - Autobahn.mp3"
[ -e "$favourites/02 - Autobahn.jpg" ] || cp "$album/folder.jpg" "$favourites/02 - Autobahn.jpg"
