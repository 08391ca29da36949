#!/bin/sh
# Measures Morphocalcule against a bare Qt window of the same size (the toolkit's
# floor) on an X server of its own, prints the table and writes it as Markdown to
# bench/results.md. The full protocol takes about 20 minutes; --quick takes a few.
# Other options go to the driver: bench/run.sh --help lists them.
set -eu
cd "$(dirname "$0")/.."

# The build's own packages, then what the benchmark adds, named one by one: callgrind,
# the DAMAGE and XTEST client libraries, the X server.
./scripts/setup.sh valgrind libxcb-damage0-dev libxcb-xtest0-dev xvfb

cmake -S bench -B build-bench -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DMORPHOCALCULE="$PWD/build/app/morphocalcule" >/dev/null
cmake --build build-bench -j2

exec build-bench/morphobench --program build/app/morphocalcule \
    --floor build-bench/morphofloor --output bench/results.md "$@"
