#include "hosts/win32/bench_probe.h"

#include <cstdio>
#include <filesystem>
#include <iterator>
#include <fstream>

namespace velkora::win32 {
namespace {

int64_t Counter() {
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return now.QuadPart;
}

uint64_t FileTimeValue(const FILETIME& time) {
  return (static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

}  // namespace

BenchProbe::BenchProbe() {
  main_entered_ = Counter();
  wchar_t path[MAX_PATH];
  const DWORD length = GetEnvironmentVariableW(L"VELKORA_BENCH_PROBE", path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return;
  file_.assign(path, length);
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  frequency_ = frequency.QuadPart;
  // The process's creation is known only as a system time; the way from it
  // to here is measured on that clock once.
  FILETIME now, creation, exit_time, kernel, user;
  GetSystemTimePreciseAsFileTime(&now);
  if (GetProcessTimes(GetCurrentProcess(), &creation, &exit_time, &kernel, &user)) {
    creation_to_main_ms_ =
        static_cast<double>(FileTimeValue(now) - FileTimeValue(creation)) / 10000.0;
  }
}

BenchProbe::~BenchProbe() {
  if (!Enabled()) return;
  char line[64];  // snprintf and Append raise nothing
  std::snprintf(line, sizeof line, "incoming_calls=%llu",
                static_cast<unsigned long long>(incoming_calls_));
  Append(line);
}

double BenchProbe::MsSinceCreation(int64_t counter) const {
  return creation_to_main_ms_ +
         static_cast<double>(counter - main_entered_) * 1000.0 / static_cast<double>(frequency_);
}

void BenchProbe::Mark(const char* step) noexcept {
  if (!Enabled() || step_count_ == static_cast<int>(std::size(steps_))) return;
  steps_[step_count_++] = Step{step, Counter()};
}

void BenchProbe::ClassObjectRegistered() {
  if (Enabled() && registered_ == 0) registered_ = Counter();
}

void BenchProbe::CallArrived() noexcept {
  if (Enabled() && first_arrived_ == 0) first_arrived_ = Counter();
}

void BenchProbe::CallAnswered() noexcept {
  if (!Enabled() || first_answered_ || first_arrived_ == 0) return;
  first_answered_ = true;
  const int64_t answered = Counter();
  char line[768];
  int used = std::snprintf(line, sizeof line, "main_ms=%.2f ", creation_to_main_ms_);
  for (int i = 0; i < step_count_ && used > 0 && used < static_cast<int>(sizeof line); ++i) {
    used += std::snprintf(line + used, sizeof line - static_cast<std::size_t>(used), "%s_ms=%.2f ",
                          steps_[i].name, MsSinceCreation(steps_[i].at));
  }
  if (used <= 0 || used >= static_cast<int>(sizeof line)) return;
  std::snprintf(
      line + used, sizeof line - static_cast<std::size_t>(used),
      "registered_ms=%.2f first_call_arrived_ms=%.2f "
      "first_call_answered_ms=%.2f first_call_own_ms=%.2f",
      registered_ ? MsSinceCreation(registered_) : -1.0, MsSinceCreation(first_arrived_),
      MsSinceCreation(answered),
      static_cast<double>(answered - first_arrived_) * 1000.0 / static_cast<double>(frequency_));
  Append(line);
}

void BenchProbe::Append(const char* line) const noexcept {
  // A probe that cannot write leaves the server alone.
  try {
    std::ofstream out(std::filesystem::path(file_), std::ios::app);
    out << line << '\n';
  } catch (...) {}
}

}  // namespace velkora::win32
