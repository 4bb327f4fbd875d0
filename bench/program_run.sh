# Sourced after figures_run.sh by the benchmarks that run the real program: starts and stops one
# run of it under the private Xvfb, its own home and runtime folders in `work`, with the window's
# test probe when PROBE is set, reads numbers from the probe and the CPU ticks of a process.
# Needs `program` (the program's path).
probe_value() { { grep -o "\"$2\":[0-9]*" "$1" 2>/dev/null || true; } | head -1 | cut -d: -f2; }

# One run of the program: $1 = run name, further arguments = files. Sets run_pid and run_dir.
start_program() {
  run_dir="$work/$1"; shift
  mkdir -p "$run_dir/home" "$run_dir/runtime"; chmod 700 "$run_dir/runtime"
  env DISPLAY="$display" HOME="$run_dir/home" XDG_RUNTIME_DIR="$run_dir/runtime" \
      ${PROBE:+KORVANE_TEST_PROBE="$run_dir/probe.json"} "$program" "$@" >"$run_dir/log" 2>&1 &
  run_pid=$!
  pids+=("$run_pid")
}
stop_program() {
  if [ -n "${PROBE:-}" ]; then echo "close window" > "$run_dir/probe.json.cmd"; else kill "$run_pid"; fi
  for _ in $(seq 100); do kill -0 "$run_pid" 2>/dev/null || break; sleep 0.1; done
  kill "$run_pid" 2>/dev/null || true
}
# A command for the probe of the current run, written whole so the probe never reads half of it.
probe_command() { echo "$1" > "$run_dir/probe.json.cmd.tmp"; mv "$run_dir/probe.json.cmd.tmp" "$run_dir/probe.json.cmd"; }

ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
# The program's CPU over `seconds` in % of a core: `own_cpu` its own (its web-engine helpers
# excluded), `web_cpu` with them.
measure_cpu() {
  local seconds=$1 hz own0 own1 web0=0 web1=0 h
  hz=$(getconf CLK_TCK)
  helpers() { pgrep -P "$run_pid" -f QtWebEngineProcess || true; }
  own0=$(ticks "$run_pid"); for h in $(helpers); do web0=$((web0 + $(ticks "$h"))); done
  sleep "$seconds"
  own1=$(ticks "$run_pid"); for h in $(helpers); do web1=$((web1 + $(ticks "$h"))); done
  web_cpu=$(awk -v d=$((own1 - own0 + web1 - web0)) -v hz="$hz" -v s="$seconds" 'BEGIN{printf "%.2f", d*100/hz/s}')
  own_cpu=$(awk -v d=$((own1 - own0)) -v hz="$hz" -v s="$seconds" 'BEGIN{printf "%.2f", d*100/hz/s}')
}
