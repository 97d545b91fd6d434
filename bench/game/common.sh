# Shared by the game benchmarks: the binary, medians, wall-clock seconds.
bin="${TERVO_BIN:-$(dirname "$0")/../../build/release/bin/tervo}"
[ -x "$bin" ] || { echo "no tervo binary at $bin (set TERVO_BIN)" >&2; exit 2; }

now() { date +%s.%N; }

# Median of the numbers on standard input.
median() { sort -g | awk '{v[NR] = $1} END {if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2}'; }

# The frame on which the autopilot's easy game reaches the staff roll.
staff_roll_frame() {
  "$bin" --headless --autoplay --frames 20000 2>&1 >/dev/null |
    awk '/: staff roll$/ {sub(":", "", $3); print $3; exit}'
}

# $1 - $2 in seconds (calendar times with fractions).
sub() { awk -v a="$1" -v b="$2" 'BEGIN {printf "%.6f\n", a - b}'; }
