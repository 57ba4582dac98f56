#!/usr/bin/env bash
# run_fuzz.sh TARGET.cpp OUTDIR SECONDS: builds one libFuzzer target with clang and the address
# and undefined-behaviour sanitizers, then runs it for SECONDS on its seed corpus
# (tests/fuzz/corpus/<name>/, when present) and a working corpus kept in OUTDIR.
# A longer run for a benchmark session:  bash tests/fuzz/run_fuzz.sh tests/fuzz/x_fuzz.cpp build/fuzz 600
set -euo pipefail
target=$1 out=$2 seconds=$3
root=$(cd "$(dirname "$0")/../.." && pwd)
name=$(basename "$target" .cpp)
mkdir -p "$out/$name.corpus"
sources=$(sed -n 's|^// fuzz-sources:||p' "$target" | head -1)
srcs=()
for s in $sources; do srcs+=("$root/$s"); done
bin="$out/$name"
newest=$(ls -t "$target" "${srcs[@]}" 2>/dev/null | head -1)
if [ ! -x "$bin" ] || [ "$newest" -nt "$bin" ]; then
  clang++ -std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all \
    -I"$root/src" -I"$root/tools" -I"$root/tests" "$target" "${srcs[@]}" -o "$bin" -lpthread -ldl
fi
seeds=()
[ -d "$root/tests/fuzz/corpus/$name" ] && seeds+=("$root/tests/fuzz/corpus/$name")
"$bin" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=0 \
  "$out/$name.corpus" "${seeds[@]}" 2>"$out/$name.log" || { tail -40 "$out/$name.log"; exit 1; }
echo "$name: $(grep -c . "$out/$name.log") log lines, no crash"
