// Reading one value near the end of a 1 MB INI file through the profile
// (fresh file read and parse on every call) against reading the file's
// bytes once. The final line gives the ratio of the two times.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <random>
#include <string>

#include "platform/posix/ini_file_profile.h"
#include "recording_reporter.h"

namespace {

namespace fs = std::filesystem;

constexpr std::size_t kFileSize = 1 << 20;

// A realistic settings file: sections of a dozen keys with comments and
// blank lines, until it reaches 1 MB. Returns the path.
class BenchFile {
 public:
  BenchFile() {
    std::random_device random;
    dir_ = fs::temp_directory_path() / ("velkora-bench-" + std::to_string(random()));
    fs::create_directories(dir_);
    path_ = (dir_ / "big.ini").string();
    std::string text = "; generated for the benchmark\r\n";
    int section = 0;
    while (text.size() < kFileSize - 200) {
      text += "[Section" + std::to_string(section++) + "]\r\n";
      for (int key = 0; key < 12 && text.size() < kFileSize - 200; ++key) {
        text += "Key" + std::to_string(key) + " = \"value number " + std::to_string(key * section) + "\"\r\n";
        if (key % 5 == 4) text += "; a comment line\r\n\r\n";
      }
    }
    last_section_ = "Section" + std::to_string(section);
    text += "[" + last_section_ + "]\r\nTarget=found it\r\n";
    std::ofstream(path_, std::ios::binary) << text;
  }
  ~BenchFile() {
    std::error_code ignored;
    fs::remove_all(dir_, ignored);
  }
  const std::string& path() const { return path_; }
  const std::string& last_section() const { return last_section_; }

 private:
  fs::path dir_;
  std::string path_;
  std::string last_section_;
};

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
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(fs::file_size(file.path())));
}
BENCHMARK(BM_ReadValueThroughProfile)->Unit(benchmark::kMicrosecond);

void BM_ReadFileBytesOnce(benchmark::State& state) {
  const BenchFile& file = File();
  for (auto _ : state) {
    // The fastest plain way: one sized read into a sized buffer.
    std::ifstream in(file.path(), std::ios::binary | std::ios::ate);
    std::string bytes(static_cast<std::size_t>(in.tellg()), '\0');
    in.seekg(0);
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    benchmark::DoNotOptimize(bytes);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(fs::file_size(file.path())));
}
BENCHMARK(BM_ReadFileBytesOnce)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  velkora::bench::RecordingReporter reporter;
  if (!velkora::bench::RunBenchmarks(argc, argv, reporter)) return 1;
  // Wall-clock time is what a caller waits; CPU time is steadier on a busy
  // machine. Both are printed, the wall-clock ratio last.
  const std::string engine = "BM_ReadValueThroughProfile";
  const std::string read = "BM_ReadFileBytesOnce";
  if (!reporter.real_.count(engine) || !reporter.real_.count(read) || reporter.real_[read] <= 0 ||
      reporter.cpu_[read] <= 0) {
    return 1;
  }
  std::cout << "ratio engine/read (cpu) = " << reporter.cpu_[engine] / reporter.cpu_[read] << "\n";
  std::cout << "ratio engine/read = " << reporter.real_[engine] / reporter.real_[read] << "\n";
  return 0;
}
