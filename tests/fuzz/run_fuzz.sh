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
# An optional "// fuzz-includes: tools/x" line adds include folders, relative to the repository.
includes=()
for i in $(sed -n 's|^// fuzz-includes:||p' "$target" | head -1); do includes+=("-I$root/$i"); done
# Libraries a target links besides the standard ones: a line "// fuzz-libs: archive" gives -larchive.
libs=()
for l in $(sed -n 's|^// fuzz-libs:||p' "$target" | head -1); do libs+=("-l$l"); done
bin="$out/$name"
newest=$(ls -t "$target" "${srcs[@]}" 2>/dev/null | head -1)
if [ ! -x "$bin" ] || [ "$newest" -nt "$bin" ]; then
  clang++ -std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all \
    -I"$root/src" -I"$root/tools" -I"$root/tests" "${includes[@]}" "$target" "${srcs[@]}" -o "$bin" \
    -lpthread -ldl "${libs[@]}"
fi
seeds=()
[ -d "$root/tests/fuzz/corpus/$name" ] && seeds+=("$root/tests/fuzz/corpus/$name")
"$bin" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=0 \
  "$out/$name.corpus" "${seeds[@]}" 2>"$out/$name.log" || { tail -40 "$out/$name.log"; exit 1; }
echo "$name: $(grep -c . "$out/$name.log") log lines, no crash"
