#!/bin/sh
# Builds the program and all its tests with AddressSanitizer and UndefinedBehaviorSanitizer
# in ./build-asan and runs the whole test suite there, end-to-end starts of the program
# included. Any report of a memory error, a leak or undefined behaviour fails the run.
set -eu
cd "$(dirname "$0")/.."

cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMORPHO_SANITIZE=ON
cmake --build build-asan -j2

# The programs that the tests start inherit these settings.
ASAN_OPTIONS=detect_leaks=1:check_initialization_order=1:strict_init_order=1:detect_stack_use_after_return=1
LSAN_OPTIONS=suppressions=$(pwd)/scripts/lsan.supp:print_suppressions=0
UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export ASAN_OPTIONS LSAN_OPTIONS UBSAN_OPTIONS
# Reports name functions and lines.
[ -x /usr/bin/llvm-symbolizer-14 ] && export ASAN_SYMBOLIZER_PATH=/usr/bin/llvm-symbolizer-14
ctest --test-dir build-asan --output-on-failure -j2
