# Writes a dash-cam telemetry track: one line per 100 ms along a plausible drive.
# Variables (-v): cues, srt (SRT output path), txt (plain line list), lat0, lon0, start_s (the first
# line's time of day in seconds; 08:30:00 when not given), long_first (1: the
# first cue is padded to 300 bytes), plain (1: ordinary subtitle text instead of telemetry), events
# (1: a quiet drive, within ±0.03 G of rest, with hard braking of 0.8 G peaking at 20 s, cornering
# of 0.7 G at 35 s and an impact of 2.5 G at 50 s).
# Only sin/cos are used so every awk gives the same numbers. G-sensor readings are in the camera's raw
# units: 2000 is 0 G and 1000 units are 3 G, so Z (gravity) sits near 2333.
function dms(value, pos, neg,    hemi, a, d, m, s) {
  hemi = value < 0 ? neg : pos
  a = value < 0 ? -value : value
  d = int(a); m = int((a - d) * 60); s = ((a - d) * 60 - m) * 60
  return sprintf("%s%d %d %.2f", hemi, d, m, s)
}
# A raised-cosine pulse of height 1 at t0, `half` seconds wide on each side.
function pulse(t, t0, half) {
  return (t > t0 - half && t < t0 + half) ? (1 + cos(3.14159265 * (t - t0) / half)) / 2 : 0
}
function stamp(ms,    h, m, s) {
  h = int(ms / 3600000); m = int(ms / 60000) % 60; s = int(ms / 1000) % 60
  return sprintf("%02d:%02d:%02d,%03d", h, m, s, ms % 1000)
}
BEGIN {
  lat = lat0 + 0; lon = lon0 + 0; heading = 0.6
  start = start_s != "" ? start_s + 0 : 8 * 3600 + 30 * 60
  for (i = 0; i < cues; i++) {
    t = i / 10.0
    # Speed in km/h: pulls away, cruises with waves, never negative.
    kmh = (t < 8 ? t * 7 : 56) + 14 * sin(t / 9.0)
    if (kmh < 0) kmh = 0
    heading += 0.004 * sin(t / 13.0) + 0.002
    metres = kmh / 3.6 * 0.1
    lat += metres * cos(heading) / 111320.0
    lon += metres * sin(heading) / (111320.0 * cos(lat * 3.14159265 / 180))
    sec = start + int(t)
    gx = 2000 + 120 * sin(t * 0.7) + 25 * sin(t * 3.1)
    gy = 2000 + 90 * sin(t * 0.3 + 1)
    gz = 2333 + 40 * sin(t * 2.0)
    if (events) {
      gx = 2000 + 8 * sin(t * 0.7) + 233.3 * pulse(t, 35, 1.0)
      gy = 2000 + 8 * sin(t * 0.3 + 1) - 266.6 * pulse(t, 20, 0.6) - 833.3 * pulse(t, 50, 0.2)
      gz = 2333 + 8 * sin(t * 2.0)
    }
    line = sprintf("2026-05-18 %02d:%02d:%02d/%s/%s/%.1f/X:%d/Y:%d/Z:%d",
                   int(sec / 3600), int(sec / 60) % 60, sec % 60,
                   dms(lon, "E", "W"), dms(lat, "N", "S"), kmh / 1.852,
                   int(gx), int(gy), int(gz))
    if (plain) line = sprintf("Ordinary subtitle number %d", i + 1)
    if (long_first && i == 0) { while (length(line) < 300) line = line "/pad" ; line = substr(line, 1, 300) }
    printf "%d\n%s --> %s\n%s\n\n", i + 1, stamp(i * 100), stamp(i * 100 + 100), line > srt
    print line > txt
  }
}
