#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test: once as shipped,
# once more with AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
# ccache keys on paths relative to the checkout, so every clone shares one cache.
export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)

export QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}"
cmake --build build -j2
(cd build && ctest --output-on-failure)

# Any sanitizer report fails its test. Leaks are not checked: the toolkit's fonts and
# plugins keep allocations until exit by design.
san="-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DZARN_BUILD_BENCH=OFF "${launcher[@]}" \
  -DCMAKE_CXX_FLAGS="-O1 $san" -DCMAKE_EXE_LINKER_FLAGS="$san"
cmake --build build-asan -j2
(cd build-asan &&
  ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    ctest --output-on-failure)
