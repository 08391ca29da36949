#!/bin/sh
# Builds the fuzz targets with clang in ./build-fuzz and runs each one for a bounded
# time (FUZZ_SECONDS, 60 by default) from its committed seeds. Any finding stops the
# run with a non-zero exit and leaves the input that shows it in build-fuzz/findings.
# Usage: fuzz/run.sh [TARGET...]   (all four when none is named)
set -eu
cd "$(dirname "$0")/.."
seconds=${FUZZ_SECONDS:-60}
targets=${*:-heighttext inifile integerrule settingspath}

cmake -S . -B build-fuzz -DMORPHO_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build-fuzz -j2

mkdir -p build-fuzz/findings
# Reports name functions and lines.
[ -x /usr/bin/llvm-symbolizer-14 ] && export ASAN_SYMBOLIZER_PATH=/usr/bin/llvm-symbolizer-14
for target in $targets; do
    # New inputs go to a scratch folder: the committed seeds stay as they are.
    work="build-fuzz/corpus/$target"
    rm -rf "$work"
    mkdir -p "$work"
    echo "== fuzz_$target: ${seconds} s"
    ASAN_OPTIONS=abort_on_error=1:detect_leaks=1 \
    UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
        "build-fuzz/fuzz/fuzz_$target" -max_total_time="$seconds" -timeout=10 \
        -rss_limit_mb=2048 -max_len=65536 -print_final_stats=1 \
        -artifact_prefix="build-fuzz/findings/$target-" "$work" "fuzz/corpus/$target"
done
echo "== fuzzing: no finding"
