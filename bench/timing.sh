# Sourced by the benchmark scripts.

# micros COMMAND...: the wall time of one run of COMMAND in microseconds, its output dropped.
micros() {
  local start end
  start=$(date +%s%N)
  "$@" >/dev/null 2>&1
  end=$(date +%s%N)
  echo $(((end - start) / 1000))
}

# median: the median of the numbers on standard input, one a line.
median() { sort -n | awk '{v[NR] = $1} END {print v[int((NR + 1) / 2)]}'; }
