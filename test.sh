#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test; then builds everything again
# under AddressSanitizer and UBSan and runs every test there too.
set -euo pipefail
cd "$(dirname "$0")"
bash scripts/setup.sh
export QT_QPA_PLATFORM=offscreen

bash scripts/build.sh build -DCMAKE_BUILD_TYPE=Release
(cd build && ctest --output-on-failure -j "$(nproc)")

# The sanitizer builds keep line tables only (-g1): their reports still name file and line,
# and they build faster.
debug_lines=(-DCMAKE_CXX_FLAGS_DEBUG=-g1 -DCMAKE_C_FLAGS_DEBUG=-g1)
bash scripts/build.sh build-asan -DCMAKE_BUILD_TYPE=Debug -DORVALE_SANITIZE=ON \
  -DORVALE_BUILD_BENCHMARKS=OFF "${debug_lines[@]}"
(cd build-asan && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --output-on-failure -j "$(nproc)")

# The capture threads and korrin32's interrupt workers once more under ThreadSanitizer: a
# small build of their suites alone.
cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DORVALE_BUILD_BENCHMARKS=OFF \
  "${debug_lines[@]}" -DCMAKE_CXX_FLAGS=-fsanitize=thread -DCMAKE_EXE_LINKER_FLAGS=-fsanitize=thread \
  >/dev/null
cmake --build build-tsan --target capture_tests tavrel_tests korrin_session_test korrin_interrupts_test \
  korrin_c_session_orders korrin_c_worker_restarts korrin_c_forks_amid_calls korrin_c_turns_at_the_gate \
  -j "$(nproc)"
build-tsan/tests/platform/capture/capture_tests
build-tsan/tests/plugins/tavrel/tavrel_tests
build-tsan/tests/cards/korrin/session/korrin_session_test
build-tsan/tests/cards/korrin/interrupts/korrin_interrupts_test
for client in session_orders worker_restarts forks_amid_calls turns_at_the_gate; do
  ORVALE_KORRIN_DEVICE=sim "build-tsan/tests/cards/korrin/korrin_c_$client"
done
