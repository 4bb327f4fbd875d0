# Writes a GPX 1.1 track as a phone logging app keeps it, to `out`, one point a second:
#   morning  2026-05-18 08:29:55Z to 08:30:15Z, north from 38.7000 N 9.1500 W, 0.0001° of latitude
#            a second: it covers the camera-clock times of the mixed folder's own_track.mp4
#   night    2026-05-18 23:59:50Z to 2026-05-19 00:00:10Z, east along 38.7200 N from 9.1400 W,
#            0.0002° of longitude a second; then no point for 20 s (a gap: no position), and
#            00:00:30Z to 00:00:40Z on the same line, so a clip named 20260518_235958 crosses
#            midnight inside the track
# Each stretch is a <trkseg> of its own. Positions are exact multiples, so tests can name them.
function stamp(day, s) {
  return sprintf("2026-05-%02dT%02d:%02d:%02dZ", day, int(s / 3600), int(s / 60) % 60, s % 60)
}
function point(lat, lon, day, s) {
  printf "<trkpt lat=\"%.4f\" lon=\"%.4f\"><time>%s</time></trkpt>\n", lat, lon, stamp(day, s) > out
}
BEGIN {
  printf "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n" > out
  printf "<gpx version=\"1.1\" creator=\"KORVANE sample generator\" " \
         "xmlns=\"http://www.topografix.com/GPX/1/1\">\n<trk><name>Lisbon</name>\n<trkseg>\n" > out
  morning = 8 * 3600 + 29 * 60 + 55
  for (i = 0; i <= 20; i++) point(38.7000 + 0.0001 * i, -9.1500, 18, morning + i)
  printf "</trkseg>\n<trkseg>\n" > out
  night = 23 * 3600 + 59 * 60 + 50
  for (i = 0; i <= 50; i++) {
    if (i > 20 && i < 40) continue
    s = night + i
    point(38.7200, -9.1400 + 0.0002 * i, s >= 86400 ? 19 : 18, s % 86400)
  }
  printf "</trkseg>\n</trk>\n</gpx>\n" > out
}
