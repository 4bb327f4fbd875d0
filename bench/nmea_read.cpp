// Reading an hour of a 10 Hz dash camera's GPS log beside a clip: 36 000 RMC sentences, each
// followed by its GGA and a $GSENSOR line (about 5 MB), written to a file and read back as the
// indexer reads it. The target is 50 ms for the hour; the time per iteration is that figure.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "telemetry/nmea_track.h"

namespace {

using namespace korvane;

// An hour's drive: moving east at a speed that swings between 0 and 120 km/h.
std::string HourLog() {
  std::string text;
  for (int i = 0; i < 36'000; ++i) {
    const int s = i / 10;
    char time[16], lon[24], speed[16];
    std::snprintf(time, sizeof time, "%02d%02d%02d.%d0", 10 + s / 3600, s / 60 % 60, s % 60,
                  i % 10);
    std::snprintf(lon, sizeof lon, "%03d%07.4f", 121, 0.0003 * i);
    std::snprintf(speed, sizeof speed, "%.1f", 32.4 * (1.0 + std::sin(i / 600.0)));
    text += FormatNmeaSentence(std::string("GNRMC,") + time + ",A,3107.8200,N," + lon + ",E," +
                               speed + ",90.0,050121,,,A") +
            "\r\n";
    text += FormatNmeaSentence(std::string("GNGGA,") + time + ",3107.8200,N," + lon +
                               ",E,1,09,0.9,12.0,M,0.0,M,,") +
            "\r\n";
    text += "$GSENSOR," + std::to_string(i % 97 - 48) + "," + std::to_string(i % 31 - 15) + "," +
            std::to_string(980 + i % 41) + "\r\n";
  }
  return text;
}

void BM_ReadHourOfNmeaLog(benchmark::State& state) {
  const std::string path =
      (std::filesystem::temp_directory_path() / "korvane_bench_hour.nmea").string();
  std::ofstream(path, std::ios::binary) << HourLog();
  std::size_t fixes = 0;
  bool gValues = false;
  for (auto _ : state) {
    const std::optional<NmeaTrack> track = ReadNmeaFile(path);
    fixes = track ? track->fixes.size() : 0;
    gValues = track && track->gValues;
    benchmark::DoNotOptimize(fixes);
  }
  state.counters["MB"] = static_cast<double>(std::filesystem::file_size(path)) / 1e6;
  std::filesystem::remove(path);
  if (fixes != 36'000 || !gValues) state.SkipWithError("the log did not read whole");
  state.SetItemsProcessed(static_cast<std::int64_t>(36'000 * state.iterations()));
}
BENCHMARK(BM_ReadHourOfNmeaLog)->Unit(benchmark::kMillisecond);

}  // namespace
BENCHMARK_MAIN();
