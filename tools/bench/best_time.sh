# Sourced by the benchmark scripts: best TIME of $rounds runs of "$@", in seconds, with the command's
# output thrown away. A script that must reset something before each run defines before_run.
now() { date +%s.%N; }
before_run() { :; }
best() {
  local b=0 t0 t1
  for _ in $(seq "$rounds"); do
    before_run
    t0=$(now)
    "$@" > /dev/null
    t1=$(now)
    b=$(awk -v b="$b" -v t="$(awk -v a="$t0" -v z="$t1" 'BEGIN { print z - a }')" \
            'BEGIN { print (b == 0 || t < b) ? t : b }')
  done
  echo "$b"
}
