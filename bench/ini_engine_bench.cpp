// Reading one value near the end of a 1 MB INI file through the profile
// (fresh file read and parse on every call) against reading the file's
// bytes once. The final line gives the ratio of the two times.
//
// Beside it: listing the file's section names through the profile (the
// buffer the script functions list with) against the same read, and the
// engine's part of a write near the end (a new file's bytes in memory)
// against copying the bytes once, which any write that builds the new
// content must do. A write through the profile is left out: flushing the
// new file to disk outweighs everything else there.
//
// And the entries of one long section (20,000 keys, about 270 KB), read the
// way IniReadSectionValues reads them (the key list through its 16 KB
// buffer, then every listed key's value), and with a list buffer that holds
// all 20,000 names, against reading that file's bytes once.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <random>
#include <string>
#include <utility>

#include "platform/portable/ini_engine.h"
#include "platform/posix/ini_file_profile.h"
#include "perf_line.h"
#include "recording_reporter.h"

namespace {

namespace fs = std::filesystem;

constexpr std::size_t kFileSize = 1 << 20;

// A file in a folder of its own below the temporary folder; both go with it.
class TempIniFile {
 public:
  TempIniFile(const std::string& name, const std::string& text) {
    std::random_device random;
    dir_ = fs::temp_directory_path() / ("velkora-bench-" + std::to_string(random()));
    fs::create_directories(dir_);
    path_ = (dir_ / name).string();
    std::ofstream(path_, std::ios::binary) << text;
  }
  ~TempIniFile() {
    std::error_code ignored;
    fs::remove_all(dir_, ignored);
  }
  TempIniFile(const TempIniFile&) = delete;
  TempIniFile& operator=(const TempIniFile&) = delete;
  const std::string& path() const { return path_; }

 private:
  fs::path dir_;
  std::string path_;
};

// A realistic settings file: sections of a dozen keys with comments and
// blank lines, until it reaches 1 MB; the last section holds Target.
std::string RealisticText(std::string& last_section) {
  std::string text = "; generated for the benchmark\r\n";
  int section = 0;
  while (text.size() < kFileSize - 200) {
    text += "[Section" + std::to_string(section++) + "]\r\n";
    for (int key = 0; key < 12 && text.size() < kFileSize - 200; ++key) {
      text += "Key" + std::to_string(key) + " = \"value number " + std::to_string(key * section) +
              "\"\r\n";
      if (key % 5 == 4) text += "; a comment line\r\n\r\n";
    }
  }
  last_section = "Section" + std::to_string(section);
  text += "[" + last_section + "]\r\nTarget=found it\r\n";
  return text;
}

class BenchFile {
 public:
  BenchFile() : file_("big.ini", RealisticText(last_section_)) {}
  const std::string& path() const { return file_.path(); }
  const std::string& last_section() const { return last_section_; }

 private:
  std::string last_section_;  // before file_, which fills it
  TempIniFile file_;
};

// Every benchmark here reports the file's size per iteration.
void CountFileBytes(benchmark::State& state, const std::string& path) {
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(fs::file_size(path)));
}

// The fastest plain way to read a file: one sized read into a sized buffer.
void ReadFileBytesOnce(benchmark::State& state, const std::string& path) {
  for (auto _ : state) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    std::string bytes(static_cast<std::size_t>(in.tellg()), '\0');
    in.seekg(0);
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    benchmark::DoNotOptimize(bytes);
  }
  CountFileBytes(state, path);
}

const BenchFile& File() {
  static const BenchFile file;
  return file;
}

void BM_ReadValueThroughProfile(benchmark::State& state) {
  velkora::posix::IniFileProfile profile;
  const BenchFile& file = File();
  for (auto _ : state) {
    std::string value = profile.GetString(file.last_section(), "target", "", 2048, file.path());
    if (value != "found it") state.SkipWithError("value not found");
    benchmark::DoNotOptimize(value);
  }
  CountFileBytes(state, file.path());
}
BENCHMARK(BM_ReadValueThroughProfile)->Unit(benchmark::kMicrosecond);

void BM_ReadFileBytesOnce(benchmark::State& state) { ReadFileBytesOnce(state, File().path()); }
BENCHMARK(BM_ReadFileBytesOnce)->Unit(benchmark::kMicrosecond);

void BM_ListSectionsThroughProfile(benchmark::State& state) {
  velkora::posix::IniFileProfile profile;
  const BenchFile& file = File();
  for (auto _ : state) {
    std::string names = profile.GetString(std::nullopt, std::nullopt, "", 16384, file.path());
    if (names.rfind("Section0", 0) != 0) state.SkipWithError("no section list");
    benchmark::DoNotOptimize(names);
  }
  CountFileBytes(state, file.path());
}
BENCHMARK(BM_ListSectionsThroughProfile)->Unit(benchmark::kMicrosecond);

// One section of 20,000 short keys, "k<n>=<n>", about 270 KB.
constexpr int kLongSectionKeys = 20000;

std::string LongSectionText() {
  std::string text = "[Lang]\r\n";
  for (int k = 0; k < kLongSectionKeys; ++k)
    text += "k" + std::to_string(k) + "=" + std::to_string(k) + "\r\n";
  return text;
}

const TempIniFile& LongFile() {
  static const TempIniFile file("long.ini", LongSectionText());
  return file;
}

void SectionValues(benchmark::State& state, std::size_t list_buffer, std::size_t at_least) {
  velkora::posix::IniFileProfile profile;
  const TempIniFile& file = LongFile();
  for (auto _ : state) {
    auto entries = profile.GetSectionValues("Lang", list_buffer, 2048, file.path());
    if (entries.size() < at_least || entries.front().value != "0")
      state.SkipWithError("section not read");
    benchmark::DoNotOptimize(entries);
  }
  CountFileBytes(state, file.path());
}

void BM_SectionValuesAsTheScriptFunction(benchmark::State& state) {
  SectionValues(state, 16384, 2000);
}
BENCHMARK(BM_SectionValuesAsTheScriptFunction)->Unit(benchmark::kMicrosecond);

void BM_SectionValuesAllKeys(benchmark::State& state) {
  SectionValues(state, 1 << 20, kLongSectionKeys);
}
BENCHMARK(BM_SectionValuesAllKeys)->Unit(benchmark::kMicrosecond);

void BM_ReadLongSectionFileOnce(benchmark::State& state) {
  ReadFileBytesOnce(state, LongFile().path());
}
BENCHMARK(BM_ReadLongSectionFileOnce)->Unit(benchmark::kMicrosecond);

std::string FileBytes() {
  std::ifstream in(File().path(), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void BM_WriteValueInEngine(benchmark::State& state) {
  const std::string bytes = FileBytes();
  for (auto _ : state) {
    auto written = velkora::portable::ini_engine::WriteString(bytes, File().last_section(),
                                                              "target", "changed");
    if (!written || written->size() != bytes.size() - 1) state.SkipWithError("value not replaced");
    benchmark::DoNotOptimize(written);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(bytes.size()));
}
BENCHMARK(BM_WriteValueInEngine)->Unit(benchmark::kMicrosecond);

void BM_CopyFileBytesOnce(benchmark::State& state) {
  const std::string bytes = FileBytes();
  for (auto _ : state) {
    std::string copy(bytes);
    benchmark::DoNotOptimize(copy);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(bytes.size()));
}
BENCHMARK(BM_CopyFileBytesOnce)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  velkora::bench::RecordingReporter reporter;
  if (!velkora::bench::RunBenchmarks(argc, argv, reporter)) return 1;
  // Wall-clock time is what a caller waits; CPU time is steadier on a busy
  // machine. Both are printed, the wall-clock ratio of the value read last.
  auto ratio = [&](const std::map<std::string, double>& times, const std::string& what,
                   const std::string& baseline) {
    const auto a = times.find(what);
    const auto b = times.find(baseline);
    return a == times.end() || b == times.end() || b->second <= 0 ? -1.0 : a->second / b->second;
  };
  const std::string read = "BM_ReadFileBytesOnce";
  const std::string copy = "BM_CopyFileBytesOnce";
  const double list_ratio = ratio(reporter.real_, "BM_ListSectionsThroughProfile", read);
  const double write_ratio = ratio(reporter.real_, "BM_WriteValueInEngine", copy);
  if (list_ratio >= 0) std::cout << "ratio list sections/read = " << list_ratio << "\n";
  if (write_ratio >= 0) std::cout << "ratio engine write/copy = " << write_ratio << "\n";
  const double cpu_ratio = ratio(reporter.cpu_, "BM_ReadValueThroughProfile", read);
  const double real_ratio = ratio(reporter.real_, "BM_ReadValueThroughProfile", read);
  if (cpu_ratio < 0 || real_ratio < 0) return 1;
  std::cout << std::flush;
  velkora::bench::PrintPerfLine("INI engine: one value read near the end of a 1 MB file",
                                reporter.real_["BM_ReadValueThroughProfile"],
                                "reading the file's bytes once", reporter.real_[read], "2 or less");
  if (list_ratio >= 0) {
    velkora::bench::PrintPerfLine("INI engine: the section names of a 1 MB file",
                                  reporter.real_["BM_ListSectionsThroughProfile"],
                                  "reading the file's bytes once", reporter.real_[read], "");
  }
  if (write_ratio >= 0) {
    velkora::bench::PrintPerfLine("INI engine: a write near the end of a 1 MB file (in memory)",
                                  reporter.real_["BM_WriteValueInEngine"],
                                  "copying the file's bytes once", reporter.real_[copy], "");
  }
  const std::string long_read = "BM_ReadLongSectionFileOnce";
  for (const auto& [name, what] :
       {std::pair<std::string, std::string>{
            "BM_SectionValuesAsTheScriptFunction",
            "INI engine: the entries of a section of 20,000 keys (270 KB), as "
            "IniReadSectionValues lists them"},
        {"BM_SectionValuesAllKeys",
         "INI engine: the entries of a section of 20,000 keys (270 KB), all keys"}}) {
    const double section_ratio = ratio(reporter.real_, name, long_read);
    if (section_ratio < 0) continue;
    std::cout << "ratio " << name << "/read = " << section_ratio << "\n" << std::flush;
    velkora::bench::PrintPerfLine(what, reporter.real_[name], "reading the file's bytes once",
                                  reporter.real_[long_read], "100 ms or less");
  }
  std::cout << "ratio engine/read (cpu) = " << cpu_ratio << "\n";
  std::cout << "ratio engine/read = " << real_ratio << "\n";
  return 0;
}
