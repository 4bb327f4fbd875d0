# Sourced by the whole-program benchmarks: starts a private Xvfb on the first free display number
# from 150 on and sets `display` to it (exits the script when none can be had). The caller keeps
# the process ids to end in its `pids` array.
display=""
for n in $(seq 150 199); do
  [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
  Xvfb ":$n" -screen 0 1600x900x24 -nolisten tcp >/dev/null 2>&1 &
  pids+=($!)
  xvfb=$!
  for _ in $(seq 100); do xwininfo -display ":$n" -root >/dev/null 2>&1 && break; sleep 0.05; done
  # Another run may have taken the number meanwhile: only a server of ours that answers counts.
  if kill -0 "$xvfb" 2>/dev/null && xwininfo -display ":$n" -root >/dev/null 2>&1; then
    display=":$n"
    break
  fi
done
[ -n "$display" ] || { echo "no Xvfb display" >&2; exit 1; }
