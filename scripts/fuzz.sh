#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (AddressSanitizer and
# UndefinedBehaviorSanitizer on) and runs each for a bounded time.
#   scripts/fuzz.sh              30 s per target
#   FUZZ_SECONDS=300 scripts/fuzz.sh
# Exits 0 without fuzzing when clang or its libFuzzer runtime is missing, and
# non-zero when a target crashes (the reproducer is left in the build folder).
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${FUZZ_BUILD_DIR:-build-fuzz}
seconds=${FUZZ_SECONDS:-30}

if ! command -v clang++ >/dev/null || ! command -v clang >/dev/null; then
  echo "fuzz.sh: clang is not installed; skipping the fuzz run"
  exit 0
fi
probe=$(mktemp -d)
trap 'rm -rf "$probe"' EXIT
printf 'extern "C" int LLVMFuzzerTestOneInput(const unsigned char*, unsigned long) { return 0; }\n' >"$probe/probe.cpp"
if ! clang++ -fsanitize=fuzzer "$probe/probe.cpp" -o "$probe/probe" 2>/dev/null; then
  echo "fuzz.sh: clang has no libFuzzer runtime; skipping the fuzz run"
  exit 0
fi

sanitizers="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer"
cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_C_FLAGS="$sanitizers" -DCMAKE_CXX_FLAGS="$sanitizers" \
  -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" \
  -DTIDEWALKER_FUZZ=ON -DTIDEWALKER_BENCH=OFF >/dev/null
cmake --build "$build_dir" -j"$(nproc)" --target ecs_fuzzer chunk_fuzzer

# Seeds: a valid ECS file and its CRLF form; chunks of the full record size.
corpus="$build_dir/fuzz-corpus"
mkdir -p "$corpus/ecs" "$corpus/chunk"
for n in $(seq 0 127); do echo $(( (n * 37) % 801 )); done >"$corpus/ecs/seed-valid.ecs"
sed 's/$/\r/' "$corpus/ecs/seed-valid.ecs" >"$corpus/ecs/seed-crlf.ecs"
for mode in 0 1 2 3; do
  { printf "\\x0$mode"; head -c 2032 /dev/zero; } >"$corpus/chunk/seed-zero-$mode"
done

status=0
for target in ecs chunk; do
  echo "fuzz.sh: running ${target}_fuzzer for ${seconds} s"
  if ! (cd "$build_dir" && \
        "./tests/fuzz/${target}_fuzzer" -max_total_time="$seconds" -max_len=8192 \
        -print_final_stats=1 "fuzz-corpus/$target" 2>"fuzz-$target.log"); then
    echo "fuzz.sh: ${target}_fuzzer found a crash; see $build_dir/fuzz-$target.log and $build_dir/crash-*"
    tail -n 40 "$build_dir/fuzz-$target.log"
    status=1
  else
    grep -E '^stat::number_of_executed_units' "$build_dir/fuzz-$target.log" || true
  fi
done
exit $status
