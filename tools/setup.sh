#!/usr/bin/env bash
# Set-up on a fresh Debian 12 machine: installs what is missing, builds, then runs the program or the tests.
#   tools/setup.sh run    build in Release and start the program (demo mode when no converter is attached)
#   tools/setup.sh test   build and run the whole test suite, then the core tests again with sanitizers
set -euo pipefail
cd "$(dirname "$0")/.."

PACKAGES=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-base-dev-tools qt6-serialport-dev libgl-dev)
missing=()
for p in "${PACKAGES[@]}"; do
    dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    SUDO=""
    [ "$(id -u)" -ne 0 ] && SUDO="sudo"
    $SUDO apt-get update
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
fi

JOBS=$(nproc 2>/dev/null || echo 2)

case "${1:-}" in
run)
    cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DTARVEN_BUILD_TESTS=OFF
    cmake --build build-release -j "$JOBS" --target tarven tarven-sim tarven-cli
    shift
    if [ $# -eq 0 ] && ! ls /dev/ttyUSB* /dev/ttyACM* >/dev/null 2>&1; then
        set -- --demo
    fi
    exec ./build-release/tarven "$@"
    ;;
test)
    cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release
    cmake --build build-release -j "$JOBS"
    (cd build-release && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$JOBS")
    # The core again, with AddressSanitizer and UndefinedBehaviorSanitizer: memory faults fail the run.
    cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTARVEN_SANITIZE=ON -DTARVEN_BUILD_UI=OFF
    cmake --build build-asan -j "$JOBS"
    (cd build-asan && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
        ctest --output-on-failure -j "$JOBS" -L core)
    ;;
*)
    echo "usage: tools/setup.sh run|test" >&2
    exit 2
    ;;
esac
