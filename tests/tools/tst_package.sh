#!/usr/bin/env bash
# Builds the Debian package from this build, unpacks it into a scratch root and runs
# the program from there: the files where they belong, --version, and a first start that
# makes the program directory below XDG_CONFIG_HOME from the package's data.
# Usage: tst_package.sh BUILD_DIR CPACK
set -euo pipefail
build="$(cd "$1" && pwd -P)" cpack="$2"
# The defaults are under test: nothing from the caller's environment may decide them.
unset ZARN_HOME ZARN_STATUS_LOG

scratch="$(mktemp -d "${TMPDIR:-/tmp}/zarn-package.XXXXXX")"
pid=""
cleanup() {
  if [ -n "$pid" ]; then kill "$pid" 2>/dev/null || true; fi
  rm -rf "$scratch"
}
trap cleanup EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }
pass() { echo "PASS: $*"; }

if ! command -v dpkg-shlibdeps >/dev/null; then
  echo "SKIP: dpkg-shlibdeps is missing (dpkg-dev; scripts/setup.sh installs it)"
  exit 77
fi

# --- the package -------------------------------------------------------------------
(cd "$scratch" && "$cpack" -G DEB --config "$build/CPackConfig.cmake" -B "$scratch/pkg" >"$scratch/cpack.log" 2>&1) ||
  { cat "$scratch/cpack.log" >&2; fail "cpack -G DEB"; }
debs=("$scratch"/pkg/zarn_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "one zarn_*.deb expected, found: ${debs[*]}"
deb="${debs[0]}"

depends="$(dpkg-deb -f "$deb" Depends)"
for lib in libqt6widgets6 libqt6webenginewidgets6 libsdl2 libavformat fonts-liberation; do
  [[ $depends == *"$lib"* ]] || fail "Depends lacks $lib: $depends"
done
for field in Maintainer Section Description; do
  [ -n "$(dpkg-deb -f "$deb" "$field")" ] || fail "the control file has no $field"
done
pass "package $(basename "$deb"), Depends from the linked libraries"

root="$scratch/root"
dpkg -x "$deb" "$root"
for f in usr/bin/zarn usr/bin/zarn-carsim; do
  [ -x "$root/$f" ] || fail "$f is not an executable in the package"
done
for f in usr/share/zarn/Zarn.ini usr/lib/systemd/user/zarn.service usr/share/applications/zarn.desktop; do
  [ -f "$root/$f" ] || fail "$f is missing from the package"
done
unit="$root/usr/lib/systemd/user/zarn.service"
for line in "ExecStart=/usr/bin/zarn" "PartOf=graphical-session.target" "Restart=on-failure" \
            "WantedBy=graphical-session.target"; do
  grep -qx "$line" "$unit" || fail "zarn.service lacks $line"
done
grep -q '^RestartSec=[1-9]' "$unit" || fail "zarn.service restarts without a pause"
grep -qx "Exec=zarn" "$root/usr/share/applications/zarn.desktop" || fail "zarn.desktop does not start zarn"
modules=("$root"/usr/lib/*/zarn/zarn-webengine.so)
[ -f "${modules[0]}" ] || fail "the web browser module is missing from the package"
pass "files in bin, share/zarn, the user unit and the menu entry, the web browser module"

# --- the unpacked program ----------------------------------------------------------
zarn="$root/usr/bin/zarn"
version="$("$zarn" --version)" || fail "zarn --version failed"
[[ $version == "zarn "* ]] || fail "zarn --version printed: $version"
"$root/usr/bin/zarn-carsim" --help >/dev/null || fail "zarn-carsim --help failed"
pass "$version runs from the unpacked package"

help="$(XDG_CONFIG_HOME="$scratch/cfg" "$zarn" --help)"
[[ $help == *"as this zarn is installed"* ]] || fail "--help of the installed zarn does not say it is installed"
[[ $help == *"saved to $scratch/cfg/zarn/Zarn.ini"* ]] || fail "--help names another Zarn.ini: $help"
[ ! -e "$scratch/cfg" ] || fail "--help created the program directory"
help="$(ZARN_HOME="$scratch/own" XDG_CONFIG_HOME="$scratch/cfg" "$zarn" --help)"
[[ $help == *"saved to $scratch/own/Zarn.ini"* ]] || fail "ZARN_HOME does not override the installed default"
help="$("$build/zarn" --help)"
[[ $help == *"as this zarn is not installed"* ]] || fail "--help of the build tree's zarn claims it is installed"
[[ $help == *"saved to $build/Zarn.ini"* ]] || fail "the build tree's zarn does not keep its own directory"
pass "--help states which program directory applies"

# Shipped data beyond the sample, so the copy of pictures and subdirectories is seen.
data="$root/usr/share/zarn"
printf 'shipped picture' >"$data/E64Image.bmp"
mkdir -p "$data/stars"
printf 'shipped star' >"$data/stars/Artist.jpg"

# Starts the unpacked zarn with XDG_CONFIG_HOME=$1 until its settings are read, then
# ends it the way the session does (SIGTERM).
first_start() {
  local cfg="$1" log="$scratch/status.$RANDOM" rc=0 i
  XDG_CONFIG_HOME="$cfg" ZARN_STATUS_LOG="$log" "$zarn" NOSPLASH >"$log.out" 2>&1 &
  pid=$!
  for ((i = 0; i < 1200; i++)); do
    grep -q "Last known mileage read" "$log" 2>/dev/null && break
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.05
  done
  grep -q "Last known mileage read" "$log" 2>/dev/null || { cat "$log.out" >&2; fail "zarn did not start up"; }
  kill -TERM "$pid"
  wait "$pid" || rc=$?
  pid=""
  [ "$rc" -eq 0 ] || { cat "$log.out" >&2; fail "zarn ended with $rc after SIGTERM"; }
}

cfg="$scratch/fresh"
first_start "$cfg"
home="$cfg/zarn"
[ -f "$home/Zarn.ini" ] || fail "the first start made no $home/Zarn.ini"
grep -qx "DevicePath=/dev/ttyUSB0" "$home/Zarn.ini" || fail "the program directory's Zarn.ini is not the sample"
cmp -s "$home/E64Image.bmp" "$data/E64Image.bmp" || fail "the picture was not copied"
cmp -s "$home/stars/Artist.jpg" "$data/stars/Artist.jpg" || fail "stars/ was not copied"
[ -z "$(find "$home" -name '*.part')" ] || fail "a partial copy was left behind"
pass "a first start makes \$XDG_CONFIG_HOME/zarn from the package's data"

# What the user has stays; only what is missing is added.
cfg="$scratch/used"
mkdir -p "$cfg/zarn"
printf '[COM-Port]\nDevicePath=/dev/ttyS3\n' >"$cfg/zarn/Zarn.ini"
printf 'my picture' >"$cfg/zarn/E64Image.bmp"
first_start "$cfg"
grep -qx "DevicePath=/dev/ttyS3" "$cfg/zarn/Zarn.ini" || fail "the user's Zarn.ini was replaced by the sample"
[ "$(cat "$cfg/zarn/E64Image.bmp")" = "my picture" ] || fail "the user's picture was replaced"
cmp -s "$cfg/zarn/stars/Artist.jpg" "$data/stars/Artist.jpg" || fail "a missing file was not added"
pass "the user's files stay, the missing ones are added"
