#!/usr/bin/env bash
# Set-up on a fresh Debian 12 machine: installs what is missing, builds, then runs the program or the tests.
#   tools/setup.sh run    build in Release and start the program (demo mode when no converter is attached)
#   tools/setup.sh test   build and run the whole test suite, then the core tests again with sanitizers,
#                         then build the Debian package and try the programs installed from it
#   tools/setup.sh package   build the Debian package build-release/tarven_<version>_<arch>.deb
set -euo pipefail
cd "$(dirname "$0")/.."

PACKAGES=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-base-dev-tools qt6-serialport-dev libgl-dev
    dpkg-dev file appstream poppler-utils)
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

# Packs what build-release holds (the programs must be built) into build-release/tarven_*.deb.
make_package() {
    rm -f build-release/tarven_*.deb
    (cd build-release && cpack -G DEB >/dev/null)
    ls build-release/tarven_*.deb
}

# Unpacks the package into a scratch root and runs the installed programs from there, with Qt from
# the system only; the software-centre metadata must pass appstreamcli's validation.
check_package() {
    local deb root f depends help id=com.duzero.tarven
    deb=$(make_package)
    root=$(mktemp -d)
    trap 'rm -rf "$root"' RETURN
    dpkg -x "$deb" "$root"
    for f in usr/bin/tarven usr/bin/tarven-cli usr/bin/tarven-sim usr/share/applications/$id.desktop \
        usr/share/metainfo/$id.metainfo.xml usr/share/icons/hicolor/{48x48,128x128,256x256}/apps/tarven.png \
        usr/share/man/man1/{tarven,tarven-cli,tarven-sim}.1.gz; do
        [ -e "$root/$f" ] || { echo "package check: $f missing from $deb" >&2; return 1; }
    done
    gzip -t "$root"/usr/share/man/man1/*.1.gz
    appstreamcli validate --no-net "$root/usr/share/metainfo/$id.metainfo.xml"
    appstreamcli validate-tree --no-net "$root" # with the menu entry it names
    for f in tarven tarven-cli tarven-sim; do
        [ "$(env -u LD_LIBRARY_PATH "$root/usr/bin/$f" --version)" = "$f $(dpkg-deb -f "$deb" Version)" ] ||
            { echo "package check: $f --version is not the package's version" >&2; return 1; }
    done
    depends=$(dpkg-deb -f "$deb" Depends)
    for f in libqt6core6 libqt6network6 libqt6serialport6 libqt6widgets6; do
        [[ "$depends" == *"$f"* ]] || { echo "package check: no dependency on $f" >&2; return 1; }
    done
    help=$(env -u LD_LIBRARY_PATH "$root/usr/bin/tarven-cli" --help)
    [[ "$help" == *"--obd-port"* ]] || { echo "package check: tarven-cli --help is not the usage" >&2; return 1; }
    env -u LD_LIBRARY_PATH HOME="$root" XDG_CONFIG_HOME="$root/config" \
        "$root/usr/bin/tarven-cli" defaults "$root/factory.set"
    [ -s "$root/factory.set" ] || { echo "package check: defaults wrote nothing" >&2; return 1; }
    echo "package check: $deb installs, its metainfo is valid and its programs run"
}

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
    cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DTARVEN_BUILD_TESTS=ON
    cmake --build build-release -j "$JOBS"
    (cd build-release && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$JOBS")
    # The core again, with AddressSanitizer and UndefinedBehaviorSanitizer: memory faults fail the run.
    cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTARVEN_SANITIZE=ON -DTARVEN_BUILD_UI=OFF
    cmake --build build-asan -j "$JOBS"
    (cd build-asan && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
        ctest --output-on-failure -j "$JOBS" -L core)
    check_package
    ;;
package)
    cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DTARVEN_BUILD_TESTS=OFF
    cmake --build build-release -j "$JOBS"
    make_package
    ;;
*)
    echo "usage: tools/setup.sh run|test|package" >&2
    exit 2
    ;;
esac
