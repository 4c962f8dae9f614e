#!/bin/sh
# Builds every fuzz target with clang, ASan and UBSan in build-fuzz, then runs them two at a time
# (nice 19), each until SECONDS have passed or RUNS inputs were tried, whichever comes first.
#   fuzz/run_all.sh [SECONDS] [RUNS] [TARGET...]      defaults: 600 10000000, every target
# Findings land in build-fuzz/findings/<target>/; the last figures of each run in
# build-fuzz/findings/<target>.log. The seed corpora in fuzz/corpus/ are only read.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
secs=${1:-600}
runs=${2:-10000000}
[ $# -gt 0 ] && shift
[ $# -gt 0 ] && shift
build="$root/build-fuzz"
targets=${*:-"fuzz_link fuzz_obd fuzz_settings_file fuzz_scope_file fuzz_firmware_image fuzz_langtable fuzz_dtc_table fuzz_obd_replies fuzz_cli_options"}
[ -f "$build/build.ninja" ] || cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER=clang++ -DTARVEN_FUZZ=ON -DTARVEN_BUILD_UI=OFF -DTARVEN_BUILD_TESTS=OFF >/dev/null
nice -n 19 ninja -C "$build" -j2 $targets
mkdir -p "$build/findings"
# Leaks are not looked for: the targets keep their engines for the whole run. -detect_leaks=0 tells
# libFuzzer too, which would otherwise run every input that ends holding memory a second time.
export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
# One adapter reply never exceeds the OBD engine's 1024-byte receive buffer: 1024 bytes hold such a
# reply or a run of shorter ones, and longer runs only cost time. A fuzz_obd input is a whole session
# of adapter output: 2048 bytes reach every state the loop has (the same edges as 4096) at a third
# more inputs a second.
options() {
    case $1 in
    fuzz_obd_replies) echo -max_len=1024 ;;
    fuzz_obd) echo -max_len=2048 ;;
    esac
}
run() {
    t=$1
    mkdir -p "$build/findings/$t" "$build/work/$t"
    nice -n 19 "$build/fuzz/$t" "$build/work/$t" "$root/fuzz/corpus/$t" -max_total_time="$secs" -runs="$runs" \
        $(options "$t") -detect_leaks=0 -artifact_prefix="$build/findings/$t/" -print_final_stats=1 >"$build/findings/$t.log" 2>&1 || true
    figure() { grep -E "^stat::$1" "$build/findings/$t.log" | awk '{print $2}'; }
    echo "$t: $(figure number_of_executed_units) inputs, $(figure average_exec_per_sec) a second," \
        "$(ls "$build/findings/$t" | wc -l) findings"
}
set -- $targets
while [ $# -gt 0 ]; do
    run "$1" &
    if [ $# -gt 1 ]; then run "$2" & shift; fi
    shift
    wait
done
