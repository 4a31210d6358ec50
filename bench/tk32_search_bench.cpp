// The disk search for tk32.ini over a generated tree of 100,000 folders in
// which no tk32.ini lies (so every folder is visited), against GNU find
// looking for the same name over the same tree. Both run alternately a few
// times on a warm cache; the medians and their ratio are printed, the wall
// clock ratio last.
//
//   bench_tk32_search [folders] [runs]
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <random>
#include <string>
#include <vector>

#include "lcr/tk32_search.h"
#include "perf_line.h"
#include "support/one_folder_drive.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
using namespace velkora;

// Ten subfolders a folder, breadth first, until `count` folders exist; a
// small file in every seventh one, as real disks hold files beside folders.
void MakeTree(const fs::path& root, int count) {
  std::vector<fs::path> level{root};
  int made = 0;
  for (std::size_t next = 0; made < count; ++next) {
    const fs::path parent = level[next];
    for (int c = 0; c < 10 && made < count; ++c) {
      fs::path child = parent / ("ordner" + std::to_string(c));
      fs::create_directory(child);
      if (++made % 7 == 0) std::ofstream(child / "notiz.txt") << "x";
      level.push_back(std::move(child));
    }
  }
}

struct Times {
  double wall = 0, cpu = 0;  // seconds
};

double CpuSeconds(const rusage& r) {
  return static_cast<double>(r.ru_utime.tv_sec + r.ru_stime.tv_sec) +
         static_cast<double>(r.ru_utime.tv_usec + r.ru_stime.tv_usec) / 1e6;
}

Times RunSearch(const std::string& root) {
  testing_support::OneFolderDrive drive(root + "/");
  rusage before{}, after{};
  getrusage(RUSAGE_SELF, &before);
  const auto start = std::chrono::steady_clock::now();
  const std::string found = SearchFixedDrivesFor(drive, "tk32.ini");
  const auto end = std::chrono::steady_clock::now();
  getrusage(RUSAGE_SELF, &after);
  if (!found.empty()) std::abort();
  return {std::chrono::duration<double>(end - start).count(),
          CpuSeconds(after) - CpuSeconds(before)};
}

Times RunFind(const std::string& root) {
  std::vector<std::string> args{"find", root, "-name", "tk32.ini"};
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  const auto start = std::chrono::steady_clock::now();
  pid_t pid = 0;
  if (posix_spawnp(&pid, "find", &actions, nullptr, argv.data(), environ) != 0) {
    std::cerr << "cannot start find\n";
    std::exit(1);
  }
  int status = 0;
  rusage usage{};
  wait4(pid, &status, 0, &usage);
  const auto end = std::chrono::steady_clock::now();
  posix_spawn_file_actions_destroy(&actions);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    std::cerr << "find failed\n";
    std::exit(1);
  }
  return {std::chrono::duration<double>(end - start).count(), CpuSeconds(usage)};
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  // Numbers only: the other benchmarks' options, passed to every one of
  // them by scripts/bench.sh, are not for this one.
  std::vector<int> numbers;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (!arg.empty() && arg.find_first_not_of("0123456789") == std::string::npos)
      numbers.push_back(std::stoi(arg));
  }
  const int folders = numbers.size() > 0 ? numbers[0] : 100000;
  const int runs = numbers.size() > 1 ? std::max(1, numbers[1]) : 5;
  std::random_device random;
  const fs::path root =
      fs::temp_directory_path() / ("velkora-search-bench-" + std::to_string(random()));
  fs::create_directories(root);
  std::cout << "making " << folders << " folders in " << root.string() << " ..." << std::endl;
  MakeTree(root, folders);

  RunSearch(root.string());  // warm the cache for both
  RunFind(root.string());
  std::vector<double> search_wall, search_cpu, find_wall, find_cpu;
  for (int i = 0; i < runs; ++i) {
    const Times s = RunSearch(root.string());
    const Times f = RunFind(root.string());
    search_wall.push_back(s.wall);
    search_cpu.push_back(s.cpu);
    find_wall.push_back(f.wall);
    find_cpu.push_back(f.cpu);
  }
  std::error_code ignored;
  fs::remove_all(root, ignored);

  std::cout << "search: " << Median(search_wall) * 1000 << " ms wall, " << Median(search_cpu) * 1000
            << " ms cpu (median of " << runs << ")\n";
  std::cout << "find:   " << Median(find_wall) * 1000 << " ms wall, " << Median(find_cpu) * 1000
            << " ms cpu\n";
  std::cout << "ratio search/find (cpu) = " << Median(search_cpu) / Median(find_cpu) << "\n";
  std::cout << "ratio search/find = " << Median(search_wall) / Median(find_wall) << "\n"
            << std::flush;
  velkora::bench::PrintPerfLine("tk32.ini search over a folder tree", Median(search_wall),
                                "GNU find over the same tree", Median(find_wall), "");
  return 0;
}
