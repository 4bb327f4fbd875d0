# Writes a dash-cam telemetry track: one line per 100 ms along a plausible drive.
# Variables (-v): cues, srt (SRT output path), txt (plain line list), lat0, lon0, long_first (1: the
# first cue is padded to 300 bytes), plain (1: ordinary subtitle text instead of telemetry).
# Only sin/cos are used so every awk gives the same numbers. G-sensor readings are in the camera's raw
# units: 2000 is 0 G and 1000 units are 3 G, so Z (gravity) sits near 2333.
function dms(value, pos, neg,    hemi, a, d, m, s) {
  hemi = value < 0 ? neg : pos
  a = value < 0 ? -value : value
  d = int(a); m = int((a - d) * 60); s = ((a - d) * 60 - m) * 60
  return sprintf("%s%d %d %.2f", hemi, d, m, s)
}
function stamp(ms,    h, m, s) {
  h = int(ms / 3600000); m = int(ms / 60000) % 60; s = int(ms / 1000) % 60
  return sprintf("%02d:%02d:%02d,%03d", h, m, s, ms % 1000)
}
BEGIN {
  lat = lat0 + 0; lon = lon0 + 0; heading = 0.6
  start = 8 * 3600 + 30 * 60
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
    line = sprintf("2026-05-18 %02d:%02d:%02d/%s/%s/%.1f/X:%d/Y:%d/Z:%d",
                   int(sec / 3600), int(sec / 60) % 60, sec % 60,
                   dms(lon, "E", "W"), dms(lat, "N", "S"), kmh / 1.852,
                   int(2000 + 120 * sin(t * 0.7) + 25 * sin(t * 3.1)),
                   int(2000 + 90 * sin(t * 0.3 + 1)), int(2333 + 40 * sin(t * 2.0)))
    if (plain) line = sprintf("Ordinary subtitle number %d", i + 1)
    if (long_first && i == 0) { while (length(line) < 300) line = line "/pad" ; line = substr(line, 1, 300) }
    printf "%d\n%s --> %s\n%s\n\n", i + 1, stamp(i * 100), stamp(i * 100 + 100), line > srt
    print line > txt
  }
}
