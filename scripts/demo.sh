#!/usr/bin/env bash
# Runs zarn against the simulated car: the simulator plays a drive and takes keys
# from this terminal (its knob moves the focus in zarn's window); zarn's status lines
# are shown as they are written. Every line is whole and says whose it is:
#   car  |    12.345 < 18 04 FF 02 00 E1 | CD changer answer: poll
#   zarn | 10:41:07 BMW_Poll_CD_Player found - sending CD_poll_answer
# Without a display the window runs on a virtual one (Xvfb). Ctrl-C (or q) ends both.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j2 --target zarn zarn-carsim

home="${ZARN_DEMO_HOME:-/tmp/zarn-demo}"
mkdir -p "$home"

# Sets KEY=VALUE in [SECTION] of an ini file (names without regard to letter case),
# adding the section or the key where missing; the rest of the file stays as it is.
set_ini_value() {
  local file="$1" section="$2" key="$3" value="$4" tmp
  tmp="$(mktemp "$file.XXXXXX")"
  { [ -e "$file" ] && cat "$file"; true; } | SECTION="$section" KEY="$key" VALUE="$value" awk '
    function header(line) { sub(/\r$/, "", line); return line ~ /^[ \t]*\[.*\][ \t]*$/ }
    function name(line) { sub(/\r$/, "", line); gsub(/^[ \t]*\[[ \t]*|[ \t]*\][ \t]*$/, "", line); return tolower(line) }
    function keyof(line) { if (index(line, "=") == 0) return ""; line = substr(line, 1, index(line, "=") - 1);
                           gsub(/^[ \t]+|[ \t]+$/, "", line); return tolower(line) }
    BEGIN { section = ENVIRON["SECTION"]; key = ENVIRON["KEY"]; value = ENVIRON["VALUE"]; inside = 0; done = 0 }
    {
      if (header($0)) {
        if (inside && !done) { print key "=" value; done = 1 }
        inside = (name($0) == tolower(section))
      } else if (inside && !done && keyof($0) == tolower(key)) {
        print key "=" value; done = 1; next
      }
      print
    }
    END {
      if (!done && inside) print key "=" value
      else if (!done) { print "[" section "]"; print key "=" value }
    }' >"$tmp"
  mv "$tmp" "$file"
}

# A music tree of tones for the MP3 player, made once and kept in the demo's home.
music="$home/music"
bash scripts/make-demo-media.sh "$music"
set_ini_value "$home/Zarn.ini" Pathes mp3 "$music"
ready="$(mktemp -u "${TMPDIR:-/tmp}/zarn-demo-ready.XXXXXX")"

pids=()
cleanup() {
  # zarn first, so that it saves its settings while its display still exists.
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
    kill "${pids[i]}" 2>/dev/null || true
    wait "${pids[i]}" 2>/dev/null || true
  done
  rm -f "$ready"
}
trap cleanup EXIT

# Each stream goes through its own reader, which writes whole lines with a prefix; two
# writers never share a line. The readers ignore Ctrl-C, so the simulator's last lines
# (its summary) still come through.
prefix() {
  trap '' INT
  local line
  while IFS= read -r line; do
    printf '%s | %s\n' "$1" "$line"
    # The simulator has written zarn's home and linked its port: zarn may start.
    if [ "$1" = "car " ] && [[ $line == "# "*" ready: "* ]]; then : >"$ready"; fi
  done
}

if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  export DISPLAY=":$((90 + RANDOM % 100))"
  # In a session of its own: Ctrl-C here must not take the display away before zarn
  # has saved its settings.
  setsid Xvfb "$DISPLAY" -screen 0 800x600x24 -nolisten tcp >/dev/null 2>&1 &
  pids+=($!)
fi

(
  for _ in $(seq 600); do [ -e "$ready" ] && break; sleep 0.1; done
  if [ ! -e "$ready" ]; then echo "the car simulator did not get ready" >&2; exit 1; fi
  ZARN_HOME="$home" ZARN_STATUS_LOG=stderr exec build/zarn /TRACE
) > >(prefix zarn) 2>&1 &
pids+=($!)

build/zarn-carsim --prepare-home "$home" --link "$home/ttyCAR" \
  --scenario tools/carsim/scenarios/demo.scn --echo "$@" 2>&1 | prefix "car "
