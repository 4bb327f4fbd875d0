#include "telemetry/gpmf_track.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <limits>

#include "telemetry/civil_date.h"
#include "telemetry/gpmf_klv.h"
#include "telemetry/mp4_boxes.h"
#include "telemetry/record_fields.h"

namespace korvane {
namespace {

constexpr double kStandardGravity = 9.80665;
constexpr double kDaysFrom1970To2000 = 10957;

// What a stream holds before its readings: the items that describe them.
struct StreamContext {
  std::string type;  // TYPE
  std::vector<double> scale;
  std::string orientation;            // ORIN
  std::optional<double> fixKind;      // GPSF
  std::optional<double> precision;    // GPSP
  std::optional<std::int64_t> utcMs;  // GPSU
};

// "yymmddhhmmss.sss" (a 'U' item, or 'c' on older cameras) as ms since 1970; nullopt when the
// text is not such a time.
std::optional<std::int64_t> GpsuTime(std::string_view text) {
  if (text.size() < 12) return std::nullopt;
  int f[6];
  for (int i = 0; i < 6; ++i) {
    if (!std::isdigit(static_cast<unsigned char>(text[2 * i])) ||
        !std::isdigit(static_cast<unsigned char>(text[2 * i + 1]))) {
      return std::nullopt;
    }
    f[i] = (text[2 * i] - '0') * 10 + (text[2 * i + 1] - '0');
  }
  const CivilTime t{2000 + f[0],    unsigned(f[1]), unsigned(f[2]),
                    unsigned(f[3]), unsigned(f[4]), unsigned(f[5])};
  if (!IsRealCivilTime(t)) return std::nullopt;
  std::int64_t ms = 0;
  if (text.size() >= 13 && text[12] == '.') {
    int digits = 0;
    for (std::size_t i = 13; i < text.size() && digits < 3; ++i, ++digits) {
      if (!std::isdigit(static_cast<unsigned char>(text[i]))) break;
      ms = ms * 10 + (text[i] - '0');
    }
    for (; digits < 3; ++digits) ms *= 10;
  }
  return SecondsFromCivil(t) * 1000 + ms;
}

bool RealPosition(double latitude, double longitude) {
  return std::isfinite(latitude) && std::isfinite(longitude) && std::fabs(latitude) <= 90 &&
         std::fabs(longitude) <= 180 && (latitude != 0 || longitude != 0);
}

// The stream's readings scaled; empty (with a note) when its SCAL does not fit them.
std::vector<double> ScaledNumbers(const GpmfItem& item, const StreamContext& c, std::size_t& fields,
                                  std::string& problem) {
  fields = GpmfFieldCount(item, c.type);
  if (fields == 0 || item.repeat > kMaxGpmfReadings) {
    NoteMp4Problem(problem, "a GPMF stream of an unknown layout");
    return {};
  }
  std::vector<double> values = GpmfNumbers(item, c.type);
  if (!c.scale.empty() && !ApplyGpmfScale(values, fields, c.scale)) {
    NoteMp4Problem(problem, "a GPMF stream whose SCAL does not fit it");
    return {};
  }
  return values;
}

// One fix of a row of a stream's readings, its `fields` values at `v`.
using GpmfFixReader = GpmfFix (*)(const double* v, const StreamContext& c);

// Every whole row of the stream as a fix; nothing when its rows are shorter than `minFields`.
void ReadFixRows(const GpmfItem& item, const StreamContext& c, std::size_t minFields,
                 GpmfFixReader readRow, GpmfDevice& device, std::string& problem) {
  std::size_t fields = 0;
  const std::vector<double> v = ScaledNumbers(item, c, fields, problem);
  if (v.empty() || fields < minFields) return;
  for (std::size_t at = 0; at + fields <= v.size(); at += fields) {
    device.gps.push_back(readRow(v.data() + at, c));
  }
}

// The lat, lon, alt and 2D speed GPS5 and GPS9 rows open with.
GpmfFix GpsRowStart(const double* v) {
  GpmfFix f;
  f.latitude = v[0];
  f.longitude = v[1];
  f.altitudeM = v[2];
  f.speedMs = v[3];
  return f;
}

// lat, lon, alt, 2D speed; the fix and the time from the stream's GPSF, GPSP and GPSU.
GpmfFix Gps5Fix(const double* v, const StreamContext& c) {
  GpmfFix f = GpsRowStart(v);
  f.utcMs = c.utcMs;
  f.fix = c.fixKind.value_or(3) >= 2 && c.precision.value_or(0) < kPoorGpmfPrecision &&
          RealPosition(f.latitude, f.longitude);
  return f;
}

// lat, lon, alt, 2D speed, 3D speed, days since 2000, seconds of the day, DOP, fix.
GpmfFix Gps9Fix(const double* v, const StreamContext&) {
  GpmfFix f = GpsRowStart(v);
  const double seconds = (kDaysFrom1970To2000 + v[5]) * 86400 + v[6];
  if (std::isfinite(seconds) && seconds >= 0 && seconds < 1e11) {
    f.utcMs = std::llround(seconds * 1000);
    f.ownTime = true;
  }
  f.fix = v[8] >= 2 && v[7] * 100 < kPoorGpmfPrecision && RealPosition(f.latitude, f.longitude) &&
          f.utcMs.has_value();
  return f;
}

// A drone's position: system time, lat, lon, alt, (unknown), speed x, y, z, heading.
GpmfFix PositionFix(const double* v, const StreamContext&) {
  GpmfFix f;
  f.systemSeconds = v[0];
  f.latitude = v[1];
  f.longitude = v[2];
  f.altitudeM = v[3];
  f.speedMs = std::hypot(v[5], v[6]);
  f.headingDeg = v[8];
  f.fix = RealPosition(f.latitude, f.longitude) && std::isfinite(f.systemSeconds);
  return f;
}

// Which reading goes to x, y and z, and with which sign, from ORIN ("ZXY", "YxZ": the axis of
// each value in order, lower case negated); the order HERO5 and Fusion name in their stream
// names (up/down, right/left, forward/back) without one.
bool AxesOf(std::string_view orin, std::array<int, 3>& slot, std::array<double, 3>& sign) {
  if (orin.size() != 3) orin = "ZXY";
  bool seen[3] = {};
  for (int i = 0; i < 3; ++i) {
    const char c = orin[static_cast<std::size_t>(i)];
    const int axis = std::toupper(static_cast<unsigned char>(c)) - 'X';
    if (axis < 0 || axis > 2 || seen[axis]) return false;
    seen[axis] = true;
    slot[static_cast<std::size_t>(i)] = axis;
    sign[static_cast<std::size_t>(i)] = std::islower(static_cast<unsigned char>(c)) ? -1 : 1;
  }
  return true;
}

void ReadAccel(const GpmfItem& item, const StreamContext& c, GpmfDevice& device,
               std::string& problem) {
  std::size_t fields = 0;
  const std::vector<double> v = ScaledNumbers(item, c, fields, problem);
  std::array<int, 3> slot{};
  std::array<double, 3> sign{};
  if (v.empty() || fields != 3) return;
  if (!AxesOf(c.orientation, slot, sign)) {
    NoteMp4Problem(problem, "an ACCL stream of an unknown orientation");
    return;
  }
  for (std::size_t at = 0; at + 3 <= v.size(); at += 3) {
    std::array<double, 3> xyz{};
    for (std::size_t i = 0; i < 3; ++i) xyz[slot[i]] = sign[i] * v[at + i];
    device.accel.push_back(xyz);
  }
}

void ReadStream(std::span<const std::uint8_t> bytes, GpmfDevice& device, GpmfPayload& payload) {
  StreamContext c;
  ForEachGpmfItem(bytes, payload.problem, [&](const GpmfItem& item) {
    if (item.Is("TYPE")) {
      c.type = std::string(item.text());
    } else if (item.Is("SCAL")) {
      c.scale = GpmfNumbers(item);
    } else if (item.Is("ORIN")) {
      c.orientation = std::string(item.text());
    } else if (item.Is("GPSF")) {
      const std::vector<double> v = GpmfNumbers(item);
      if (!v.empty()) c.fixKind = v[0];
    } else if (item.Is("GPSP")) {
      const std::vector<double> v = GpmfNumbers(item);
      if (!v.empty()) c.precision = v[0];
    } else if (item.Is("GPSU")) {
      c.utcMs = GpsuTime(item.text());
    } else if (item.Is("GPS9")) {
      GpmfDevice gps9;
      ReadFixRows(item, c, 9, Gps9Fix, gps9, payload.problem);
      if (!gps9.gps.empty()) {
        device.gps = std::move(gps9.gps);
        device.gpsStream = "GPS9";
      }
    } else if (item.Is("GPS5") && device.gpsStream != "GPS9") {
      device.gps.clear();
      ReadFixRows(item, c, 4, Gps5Fix, device, payload.problem);
      if (!device.gps.empty()) device.gpsStream = "GPS5";
    } else if (item.Is("GLPI") && device.gpsStream.empty()) {
      ReadFixRows(item, c, 9, PositionFix, device, payload.problem);
      if (!device.gps.empty()) device.gpsStream = "GLPI";
    } else if (item.Is("ACCL") && device.accel.empty()) {
      ReadAccel(item, c, device, payload.problem);
    } else if (item.Is("SYST")) {
      std::size_t fields = 0;
      const std::vector<double> v = ScaledNumbers(item, c, fields, payload.problem);
      for (std::size_t at = 0; fields >= 2 && at + fields <= v.size(); at += fields) {
        if (std::isfinite(v[at]) && std::isfinite(v[at + 1])) {
          payload.systemTimes.push_back({v[at], v[at + 1]});
        }
      }
    }
    return true;
  });
}

// The UTC ms of a drone's system time from the track's calibrations (sorted by system time).
std::optional<std::int64_t> SystemToUtc(double system,
                                        const std::vector<std::array<double, 2>>& calibrations) {
  if (calibrations.empty()) return std::nullopt;
  double utc = system - calibrations[0][0] + calibrations[0][1];
  if (calibrations.size() > 1) {
    const auto above =
        std::upper_bound(calibrations.begin(), calibrations.end(), system,
                         [](double s, const std::array<double, 2>& c) { return s < c[0]; });
    const std::size_t j = std::clamp<std::size_t>(
        static_cast<std::size_t>(above - calibrations.begin()), 1, calibrations.size() - 1);
    const auto& a = calibrations[j - 1];
    const auto& b = calibrations[j];
    utc = b[0] == a[0] ? a[1] + (system - a[0])
                       : a[1] + (b[1] - a[1]) * (system - a[0]) / (b[0] - a[0]);
  }
  if (!std::isfinite(utc) || utc < 0 || utc > 1e11) return std::nullopt;
  return std::llround(utc * 1000);
}

// The mean of the accelerometer readings in part `part` of `parts` of a sample, in g.
std::optional<std::array<float, 3>> MeanG(const std::vector<std::array<double, 3>>& accel,
                                          std::size_t part, std::size_t parts) {
  const std::size_t from = part * accel.size() / parts;
  const std::size_t to = (part + 1) * accel.size() / parts;
  if (to <= from) return std::nullopt;
  std::array<double, 3> sum{};
  for (std::size_t i = from; i < to; ++i) {
    for (std::size_t a = 0; a < 3; ++a) sum[a] += accel[i][a];
  }
  std::array<float, 3> g{};
  for (std::size_t a = 0; a < 3; ++a) {
    g[a] = static_cast<float>(sum[a] / static_cast<double>(to - from) / kStandardGravity);
    if (!std::isfinite(g[a])) return std::nullopt;
  }
  return g;
}

const GpmfDevice* DeviceNamed(const GpmfPayload& payload, const std::string& name) {
  for (const GpmfDevice& d : payload.devices) {
    if (d.name == name) return &d;
  }
  return nullptr;
}

// The device whose GPS the track is read from: the first with a fix, else the first with any
// reading; empty for none.
std::string ChooseDevice(std::span<const GpmfSample> samples) {
  std::string withReadings;
  for (const GpmfSample& s : samples) {
    for (const GpmfDevice& d : s.payload.devices) {
      for (const GpmfFix& f : d.gps) {
        if (f.fix) return d.name;
      }
      if (!d.gps.empty() && withReadings.empty()) withReadings = d.name;
    }
  }
  return withReadings;
}

}  // namespace

GpmfPayload DecodeGpmfPayload(std::span<const std::uint8_t> bytes) {
  GpmfPayload payload;
  ForEachGpmfItem(bytes, payload.problem, [&](const GpmfItem& devc) {
    if (!devc.Is("DEVC") || !devc.nested()) return true;
    GpmfDevice device;
    ForEachGpmfItem(devc.data, payload.problem, [&](const GpmfItem& item) {
      if (item.Is("DVNM")) device.name = std::string(item.text());
      if (item.Is("STRM") && item.nested()) ReadStream(item.data, device, payload);
      return true;
    });
    payload.devices.push_back(std::move(device));
    return true;
  });
  return payload;
}

GpmfTrack ReadGpmfTrack(std::span<const GpmfSample> samples) {
  GpmfTrack track;
  std::vector<std::array<double, 2>> calibrations;
  for (const GpmfSample& s : samples) {
    calibrations.insert(calibrations.end(), s.payload.systemTimes.begin(),
                        s.payload.systemTimes.end());
    if (!s.payload.problem.empty()) NoteMp4Problem(track.problem, s.payload.problem);
  }
  std::sort(calibrations.begin(), calibrations.end());
  track.device = ChooseDevice(samples);
  if (track.device.empty()) return track;
  for (const GpmfSample& s : samples) {
    if (s.payload.devices.empty()) continue;
    track.otherDevice = s.payload.devices.front().name != track.device;
    break;
  }
  for (const GpmfSample& s : samples) {
    const GpmfDevice* device = DeviceNamed(s.payload, track.device);
    if (device == nullptr || device->gps.empty()) continue;
    track.gpsStream = device->gpsStream;
    // The accelerometer of the device, else of the first that has one (a camera on a drone).
    const GpmfDevice* accel = device;
    for (const GpmfDevice& d : s.payload.devices) {
      if (accel->accel.empty() && !d.accel.empty()) accel = &d;
    }
    const std::size_t n = device->gps.size();
    if (track.records.size() + n > kMaxGpmfRecords) {
      NoteMp4Problem(track.problem, "the GPMF track is cut at its readings' limit");
      break;
    }
    for (std::size_t i = 0; i < n; ++i) {
      const GpmfFix& f = device->gps[i];
      const std::int64_t offsetMs =
          s.durationMs * static_cast<std::int64_t>(i) / static_cast<std::int64_t>(n);
      std::optional<std::int64_t> utcMs = f.utcMs
                                              ? std::optional(*f.utcMs + (f.ownTime ? 0 : offsetMs))
                                              : SystemToUtc(f.systemSeconds, calibrations);
      ++track.readings;
      if (!utcMs) continue;
      TelemetryRecord r;
      SetRecordTime(r, *utcMs);
      r.mediaTimeMs = static_cast<std::int32_t>(std::clamp<std::int64_t>(
          s.startMs + offsetMs, 0, std::numeric_limits<std::int32_t>::max()));
      r.valid = f.fix;
      if (f.fix) {
        SetRecordPosition(r, f.latitude, f.longitude);
        r.speedKmh = static_cast<float>(std::isfinite(f.speedMs) ? f.speedMs * 3.6 : 0);
        if (std::isfinite(f.altitudeM)) r.altitudeM = static_cast<float>(f.altitudeM);
        if (f.headingDeg >= 0 && f.headingDeg < 360)
          r.headingDeg = static_cast<float>(f.headingDeg);
        ++track.fixes;
      }
      if (const auto g = MeanG(accel->accel, i, n)) {
        SetRecordG(r, (*g)[0], (*g)[1], (*g)[2]);
        track.gValues = true;
      }
      track.records.push_back(r);
    }
  }
  return track;
}

}  // namespace korvane
