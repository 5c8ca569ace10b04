#!/usr/bin/env bash
# Installs what Voltara needs, builds it and runs the whole test suite.
#   scripts/test.sh          release build in build/
#   scripts/test.sh --asan   the same suite under AddressSanitizer + UBSan in build-asan/
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh "$@"
dir=build; [ "${1:-}" = "--asan" ] && dir=build-asan
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=0}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
ctest --test-dir "$dir" --output-on-failure -j "$(nproc)"
