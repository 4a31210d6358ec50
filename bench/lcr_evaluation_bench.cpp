// One tariff evaluation with 100 providers whose tariffs change every hour
// (24 profile starts a day), for the longest connection (86400 s), in mode 0
// (tariffs in the settings file) and mode 2 (tk32.ini and tariff files),
// against reading the same configuration once: every value the evaluation
// reads, read once through the same profile functions. The last lines give
// the ratio of the two times for each mode.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <random>
#include <set>
#include <string>
#include <tuple>

#include "base/conversions.h"
#include "lcr/ranking.h"
#include "platform/posix/ini_file_profile.h"
#include "platform/posix/posix_clock.h"
#include "platform/posix/posix_file_system.h"
#include "platform/posix/posix_platform.h"
#include "perf_line.h"
#include "recording_reporter.h"
#include "shell/script_frame.h"

namespace {

namespace fs = std::filesystem;
using namespace velkora;

constexpr int kProviders = 100;

// Hourly prices: "00:00:00", "01:00:00", ... with a price that varies by
// provider and hour.
std::string HourText(int h) { return (h < 10 ? "0" : "") + std::to_string(h) + ":00:00"; }
std::string Price(int provider, int h) {
  return "0.0" + std::to_string(10 + (provider * 7 + h * 13) % 89);
}

void Write(const fs::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

// The configuration files of both modes in a fresh folder.
class Configuration {
 public:
  Configuration() {
    std::random_device random;
    dir_ = fs::temp_directory_path() / ("velkora-lcr-bench-" + std::to_string(random()));
    fs::create_directories(dir_ / "m0");
    fs::create_directories(dir_ / "m2" / "tk32");
    const std::string holidays = "01.01.2026 06.04.2026 01.05.2026 25.12.2026 26.12.2026";

    // Mode 0: every provider with its own hourly profile line.
    std::string m0 = "[LCR]\r\nTK32Mode=0\r\nSortiereListe=1\r\nFtListe=" + holidays + "\r\n";
    for (int k = 0; k < kProviders; ++k)
      m0 += std::to_string(k) + "=Anbieter" + std::to_string(k) + "\r\n";
    for (int k = 0; k < kProviders; ++k) {
      m0 += "[LCR Anbieter" + std::to_string(k) + "]\r\nEw=0.0" + std::to_string(k % 10) + "\r\n";
      for (const char* day : {"Ft", "So", "Sa"}) m0 += std::string(day) + "=Wochenende\r\n";
      for (const char* day : {"Mo", "Di", "Mi", "Do", "Fr"})
        m0 += std::string(day) + "=Werktag\r\n";
      for (const char* profile : {"Werktag", "Wochenende"}) {
        m0 += std::string(profile) + "=";
        for (int h = 0; h < 24; ++h) {
          m0 += HourText(h) + " " + Price(k + (profile[1] == 'o'), h) + " " +
                std::to_string(30 + h % 3 * 30) + " ";
        }
        m0 += "\r\n";
      }
    }
    m0_settings_ = (dir_ / "m0" / "velkora.ini").string();
    Write(m0_settings_, m0);

    // Mode 2: 100 connections, each with a provider tariff file of its own
    // and one of four shared telephone tariffs.
    const fs::path tk32 = dir_ / "m2" / "tk32";
    std::string ini = "[Connections]\r\nCount=" + std::to_string(kProviders - 1) + "\r\n";
    for (int k = 0; k < kProviders; ++k) {
      const std::string n = std::to_string(k);
      ini += "Type" + n + "=4\r\nDetails" + n + "=RasName=Anbieter" + n + "/0190" + n + "/\r\n";
      ini += "TelCosts" + n + "=telefon" + std::to_string(k % 4) + "\r\nProvCosts" + n + "=prov" +
             n + "\r\n";
    }
    ini += "[SpecialDays]\r\nCount=4\r\n";
    int d = 0;
    for (const char* day : {"01.01.2026", "06.04.2026", "01.05.2026", "25.12.2026", "26.12.2026"}) {
      ini += "Day" + std::to_string(d++) + "=" + day + "\r\n";
    }
    Write(tk32 / "tk32.ini", ini);
    auto tariff = [&](const std::string& name, int seed) {
      std::string trf = "[Tarifzuordnung]\r\nf1=Frei\r\nso=Frei\r\nsa=Frei\r\n";
      for (const char* day : {"mo", "di", "mi", "do", "fr"})
        trf += std::string(day) + "=Werktag\r\n";
      for (const char* t : {"Werktag", "Frei"}) {
        trf += std::string("[Tarif ") + t + "]\r\nBereiche=24\r\n";
        for (int h = 0; h < 24; ++h) {
          trf += "Bereich" + std::to_string(h + 1) + "=" + HourText(h) + ";" +
                 std::to_string(60 + h % 2 * 60) + ";" + Price(seed + (t[0] == 'F'), h) +
                 (h == 0 ? ";0.05" : "") + "\r\n";
        }
      }
      Write(tk32 / (name + ".trf"), trf);
    };
    for (int k = 0; k < 4; ++k) tariff("telefon" + std::to_string(k), 1000 + k);
    for (int k = 0; k < kProviders; ++k) tariff("prov" + std::to_string(k), k);
    m2_settings_ = (dir_ / "m2" / "velkora.ini").string();
    Write(m2_settings_,
          "[LCR]\r\nTK32Mode=2\r\nSortiereListe=1\r\nTK32Pfad=" + tk32.string() + "/\r\n");
  }
  ~Configuration() {
    std::error_code ignored;
    fs::remove_all(dir_, ignored);
  }
  const std::string& Settings(int mode) const { return mode == 0 ? m0_settings_ : m2_settings_; }

 private:
  fs::path dir_;
  std::string m0_settings_, m2_settings_;
};

const Configuration& Config() {
  static const Configuration config;
  return config;
}

// The profile functions, noting every distinct read.
class RecordingProfile final : public Profile {
 public:
  using Read =
      std::tuple<std::string, std::optional<std::string>, std::optional<std::string>, std::size_t>;
  std::string GetString(std::optional<std::string_view> section,
                        std::optional<std::string_view> key, std::string_view default_text,
                        std::size_t buffer_size, const std::string& file) override {
    reads.insert({file, section ? std::optional<std::string>(*section) : std::nullopt,
                  key ? std::optional<std::string>(*key) : std::nullopt, buffer_size});
    return real.GetString(section, key, default_text, buffer_size, file);
  }
  bool WriteString(std::string_view section, std::optional<std::string_view> key,
                   std::optional<std::string_view> value, const std::string& file) override {
    return real.WriteString(section, key, value, file);
  }
  posix::IniFileProfile real;
  std::set<Read> reads;
};

// A clock at Monday 7 December 2026, 00:30:00: the day runs across all 24
// starts and into Tuesday.
class FixedClock final : public Clock {
 public:
  DateTime Now() const override { return EncodeDate(2026, 12, 7) + EncodeTime(0, 30, 0); }
};

class GermanLocale final : public Locale {
 public:
  FormatSettings Formats() const override { return FormatSettings::German(); }
};

class NoBoxes final : public MessageBoxes {
 public:
  BoxResult Show(const std::string& text, const std::string&, BoxIcon, BoxButtons, bool,
                 bool) override {
    std::cerr << "unexpected box: " << text << "\n";
    std::abort();
  }
};

struct Engine {
  explicit Engine(Profile& profile, const std::string& settings)
      : services{profile, settings, clock, locale, files, boxes, perlre, frame, nullptr} {}
  FixedClock clock;
  GermanLocale locale;
  posix::PosixFileSystem files;
  NoBoxes boxes;
  TPerlre perlre{true, kPerlreCaseless};
  // The script frame serves the script functions' call and result lines,
  // which one evaluation does not write; it only has to exist.
  posix::PosixPlatform platform{
      {std::cerr, [](const char*) { return std::optional<std::string>(); }, true, ""}};
  ShellContext shell{platform, "", "", false};
  ScriptFrame frame{shell};
  LcrServices services;

  std::string Evaluate() {
    std::string name, list;
    if (!VerbindungskostenAuswerten(services, "86400", name, list, ";")) std::abort();
    return list;
  }
};

void Evaluation(benchmark::State& state, int mode) {
  posix::IniFileProfile profile;
  Engine engine(profile, Config().Settings(mode));
  for (auto _ : state) benchmark::DoNotOptimize(engine.Evaluate());
}

void ReadConfigurationOnce(benchmark::State& state, int mode) {
  RecordingProfile recorder;
  Engine engine(recorder, Config().Settings(mode));
  engine.Evaluate();
  posix::IniFileProfile profile;
  for (auto _ : state) {
    for (const auto& [file, section, key, size] : recorder.reads) {
      benchmark::DoNotOptimize(profile.GetString(section, key, "", size, file));
    }
  }
  state.counters["reads"] = static_cast<double>(recorder.reads.size());
}

void BM_EvaluationMode0(benchmark::State& state) { Evaluation(state, 0); }
void BM_ReadConfigurationOnceMode0(benchmark::State& state) { ReadConfigurationOnce(state, 0); }
void BM_EvaluationMode2(benchmark::State& state) { Evaluation(state, 2); }
void BM_ReadConfigurationOnceMode2(benchmark::State& state) { ReadConfigurationOnce(state, 2); }
BENCHMARK(BM_EvaluationMode0)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadConfigurationOnceMode0)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EvaluationMode2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadConfigurationOnceMode2)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  velkora::bench::RecordingReporter reporter;
  if (!velkora::bench::RunBenchmarks(argc, argv, reporter)) return 1;
  int printed = 0;
  for (const char* mode : {"0", "2"}) {
    const std::string evaluation = std::string("BM_EvaluationMode") + mode;
    const std::string reading = std::string("BM_ReadConfigurationOnceMode") + mode;
    if (!reporter.real_.count(evaluation) || !reporter.real_.count(reading)) continue;
    std::cout << "ratio evaluation/reading, mode " << mode
              << " (cpu) = " << reporter.cpu_[evaluation] / reporter.cpu_[reading] << "\n";
    std::cout << "ratio evaluation/reading, mode " << mode << " = "
              << reporter.real_[evaluation] / reporter.real_[reading] << "\n";
    std::cout << std::flush;
    velkora::bench::PrintPerfLine(std::string("LCR evaluation, mode ") + mode,
                                  reporter.real_[evaluation], "reading the configuration once",
                                  reporter.real_[reading], "");
    ++printed;
  }
  return printed == 2 ? 0 : 1;
}
