# Writes a GPS receiver's NMEA 0183 log as a camera without a telemetry track keeps beside its clip:
# at 10 Hz an RMC and a GGA sentence per moment, from 2026-05-18 06:30:00.0 UTC near Lisbon
# (north, west), for `seconds` seconds, to `out` (CR LF line ends). Deliberate faults, so that every
# reader sees the same ones:
#   moment 50   the RMC's checksum is wrong           moment 51   the GGA's checksum is wrong
#   80..89      status V: no fix, no position         moment 120  the RMC is cut after 30 bytes
#   the log ends in an RMC cut short, without its line end.
# Of the 10 s·seconds moments, 2 lose their RMC and 10 have no fix; 4 sentences are bad.
# Only sin/cos are used so every awk gives the same numbers; the checksum's XOR is done bit by bit.
function xor8(a, b,    r, bit) {
  r = 0
  for (bit = 1; bit < 256; bit *= 2) if (int(a / bit) % 2 != int(b / bit) % 2) r += bit
  return r
}
function sentence(body,    i, sum) {
  sum = 0
  for (i = 1; i <= length(body); i++) sum = xor8(sum, code[substr(body, i, 1)])
  return sprintf("$%s*%02X", body, sum)
}
function nmea_angle(value, degree_digits,    a, d) {
  a = value < 0 ? -value : value
  d = int(a)
  return sprintf("%0" degree_digits "d%07.4f", d, (a - d) * 60)
}
BEGIN {
  for (i = 32; i < 127; i++) code[sprintf("%c", i)] = i
  lat = 38.7223; lon = -9.1393; heading = 2.1
  moments = seconds * 10
  for (i = 0; i < moments; i++) {
    t = i / 10.0
    kmh = (t < 4 ? t * 10 : 40) + 8 * sin(t / 3.0)
    if (kmh < 0) kmh = 0
    heading += 0.01 * sin(t / 5.0)
    metres = kmh / 3.6 * 0.1
    lat += metres * cos(heading) / 111320.0
    lon += metres * sin(heading) / (111320.0 * cos(lat * 3.14159265 / 180))
    ds = 6 * 3600 + 30 * 60 + int(t)
    tod = sprintf("%02d%02d%02d.%d0", int(ds / 3600), int(ds / 60) % 60, ds % 60, i % 10)
    pos = nmea_angle(lat, 2) "," (lat < 0 ? "S" : "N") "," nmea_angle(lon, 3) "," (lon < 0 ? "W" : "E")
    fix = !(i >= 80 && i < 90)
    rmc = sentence("GPRMC," tod "," (fix ? "A," pos : "V,,,,") "," \
                   (fix ? sprintf("%.2f", kmh / 1.852) : "") "," sprintf("%.1f", heading * 57.29578) \
                   ",180526,,,A")
    gga = sentence("GPGGA," tod "," (fix ? pos ",1" : ",,,,0") ",08,0.9,35.0,M,50.0,M,,")
    if (i == 50) rmc = substr(rmc, 1, length(rmc) - 2) (substr(rmc, length(rmc) - 1) == "00" ? "01" : "00")
    if (i == 51) gga = substr(gga, 1, length(gga) - 2) (substr(gga, length(gga) - 1) == "00" ? "01" : "00")
    if (i == 120) rmc = substr(rmc, 1, 30)
    printf "%s\r\n%s\r\n", rmc, gga > out
  }
  printf "%s", substr(sentence("GPRMC,063000.00,A," pos ",21.00,90.0,180526,,,A"), 1, 40) > out
}
