#pragma once

// A tariff engine over files held in memory, for the fuzz targets that feed
// it configurations and tariff files: German formats, the clock at Monday
// 7 December 2026, 07:58:30, logging on (so that every log line is built
// too), error boxes counted but not shown.

#include <chrono>
#include <cstdlib>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/conversions.h"
#include "base/date_time.h"
#include "lcr/lcr_services.h"
#include "lcr/ranking.h"
#include "platform/platform.h"
#include "platform/portable/ini_engine.h"
#include "platform/portable/stand_ins.h"
#include "regex/perlre.h"
#include "shell/script_frame.h"

namespace velkora::fuzzing {

inline void Check(bool condition) {
  if (!condition) std::abort();
}

// The profile functions over files kept as bytes, by full name.
class MemoryProfile final : public Profile {
 public:
  std::map<std::string, std::string> files;

  std::string GetString(std::optional<std::string_view> section,
                        std::optional<std::string_view> key, std::string_view default_text,
                        std::size_t buffer_size, const std::string& file) override {
    const auto found = files.find(file);
    const std::string_view bytes = found == files.end() ? std::string_view{} : found->second;
    return portable::ini_engine::GetString(bytes, section, key, default_text, buffer_size);
  }
  bool WriteString(std::string_view section, std::optional<std::string_view> key,
                   std::optional<std::string_view> value, const std::string& file) override {
    std::optional<std::string> bytes =
        portable::ini_engine::WriteString(files[file], section, key, value);
    if (!bytes) return false;
    files[file] = std::move(*bytes);
    return true;
  }
};

// Only the files of the profile exist; there are no drives to search.
class MemoryFiles final : public FileSystem {
 public:
  explicit MemoryFiles(const MemoryProfile& profile) : profile_(profile) {}
  bool FileExists(const std::string& path) const override {
    return profile_.files.count(path) != 0;
  }
  bool DirectoryExists(const std::string&) const override { return false; }
  bool RemoveFile(const std::string&) override { return false; }
  bool EmptyFile(const std::string&) override { return false; }
  bool AppendToFile(const std::string&, std::string_view) override { return true; }
  std::vector<std::string> ListDirectory(const std::string&, std::string_view) const override {
    return {};
  }
  std::vector<std::string> FixedDrives() const override { return {}; }
  std::string FullPath(const std::string& path) const override { return path; }
  char PathSeparator() const override { return '/'; }
  bool ReadFolderForWalk(const std::string&, FolderIdentity&,
                         std::vector<WalkEntry>&) const override {
    return false;
  }
  bool IsOnFixedDisk(const std::string&) const override { return false; }

 private:
  const MemoryProfile& profile_;
};

class MondayMorning final : public Clock {
 public:
  DateTime Now() const override { return EncodeDate(2026, 12, 7) + EncodeTime(7, 58, 30); }
};

class CountedBoxes final : public MessageBoxes {
 public:
  int shown = 0;
  BoxResult Show(const std::string&, const std::string&, BoxIcon, BoxButtons, bool, bool) override {
    ++shown;
    return BoxResult::kOk;
  }
};

class NoLocks final : public NamedLockFactory {
 public:
  LockResult Acquire(const std::string&) override { return Unexpected(LockFailure::kFailed); }
  LockResult AcquireWaiting(const std::string&, std::chrono::milliseconds) override {
    return Unexpected(LockFailure::kFailed);
  }
};

// The tariff engine never waits on messages; a pump whose time stands still
// is all the bundle needs to hand out.
class StillPump final : public MessagePump {
 public:
  void ProcessMessages(uint32_t) override {}
  uint64_t SteadyMs() const override { return 0; }
};

class MemoryPlatform final : public Platform {
 public:
  MemoryProfile profile;
  MemoryFiles files{profile};
  MondayMorning clock;
  portable::FixedLocale locale{FormatSettings::German()};
  CountedBoxes boxes;
  NoLocks locks;
  StillPump messages;
  portable::EmptyWindowList windows;
  portable::UnavailableRasLibrary ras;
  portable::NoPerfCounters perf;
  portable::NoTrayShell tray;
  portable::NoClassesRegistry registry;

  Profile& IniFiles() override { return profile; }
  Clock& SystemClock() override { return clock; }
  Locale& UserLocale() override { return locale; }
  FileSystem& Files() override { return files; }
  MessageBoxes& Boxes() override { return boxes; }
  MessagePump& Messages() override { return messages; }
  NamedLockFactory& Locks() override { return locks; }
  WindowList& TopLevelWindows() override { return windows; }
  RasLibrary& Ras() override { return ras; }
  PerfData& PerfCounters() override { return perf; }
  TrayShell& Tray() override { return tray; }
  ClassesRegistry& Registry() override { return registry; }
};

inline constexpr std::string_view kSettingsFile = "/velkora/velkora.ini";

// One engine for every input, as one server runs every evaluation: the
// engine keeps nothing between two evaluations but the shared regular
// expression instance, which holds only the fixed patterns it compiles.
// Each input brings its own files.
class LcrHarness {
 public:
  MemoryPlatform platform;
  ShellContext shell{platform, std::string(kSettingsFile), "/velkora/velkora.log", false};
  TPerlre perlre{true, kPerlreCaseless};
  ScriptFrame frame{shell};
  std::size_t logged = 0;
  LcrServices services{platform.profile,
                       shell.settings_file,
                       platform.clock,
                       platform.locale,
                       platform.files,
                       platform.boxes,
                       perlre,
                       frame,
                       [this](std::string_view text) { logged += text.size(); }};

  static LcrHarness& Instance() {
    static LcrHarness harness;
    return harness;
  }

  // A new input: no files, and the engine's many log lines only for every
  // other input (building them costs as much as the evaluation itself).
  void Begin(bool log) {
    platform.profile.files.clear();
    services.log = log ? std::function<void(std::string_view)>(
                             [this](std::string_view text) { logged += text.size(); })
                       : nullptr;
  }

  // Evaluates a connection of `dauer` seconds and checks what the engine
  // promises: a list with the cheapest provider in it when one was found,
  // else an empty list and a box.
  void Evaluate(std::string_view dauer) {
    std::string name, list;
    const int boxes_before = platform.boxes.shown;
    const bool found = VerbindungskostenAuswerten(services, dauer, name, list, ";");
    if (!found) {
      Check(list.empty());
      Check(platform.boxes.shown > boxes_before);
      return;
    }
    Check(!list.empty());
    Check(list.find(name + ":") != std::string::npos);
  }
};

}  // namespace velkora::fuzzing
