#pragma once

// What the benchmarks in bench/ read from inside the server, and nothing
// else reads: when the environment variable VELKORA_BENCH_PROBE names a
// file, the server appends to it
//   - once its first call is answered, one line with the milliseconds from
//     the process's creation to entering WinMain, to each step of the start
//     marked on the way (Mark), to the class object registered, to the first
//     call arriving and to its answer;
//   - when the process ends, one line with the number of incoming calls
//     the apartment saw (every remote round trip a client made).
// Without the variable it records nothing and writes nothing; the server's
// behaviour, settings and log are the same either way.

#include <windows.h>

#include <cstdint>
#include <string>

namespace velkora::win32 {

class BenchProbe {
 public:
  // Reads the variable and takes the instant of the program's start.
  BenchProbe();
  ~BenchProbe();
  BenchProbe(const BenchProbe&) = delete;
  BenchProbe& operator=(const BenchProbe&) = delete;

  bool Enabled() const { return !file_.empty(); }
  // A step of the start, by a name that lives as long as the program.
  void Mark(const char* step) noexcept;
  void ClassObjectRegistered();
  void CallArrived() noexcept;
  void CallAnswered() noexcept;
  void IncomingCall() noexcept { ++incoming_calls_; }

 private:
  double MsSinceCreation(int64_t counter) const;
  void Append(const char* line) const noexcept;

  std::wstring file_;
  int64_t frequency_ = 1;
  int64_t main_entered_ = 0;  // performance counter at WinMain
  double creation_to_main_ms_ = 0;
  struct Step {
    const char* name;
    int64_t at;
  };
  Step steps_[8] = {};
  int step_count_ = 0;
  int64_t registered_ = 0;
  int64_t first_arrived_ = 0;
  bool first_answered_ = false;
  uint64_t incoming_calls_ = 0;
};

}  // namespace velkora::win32
