#pragma once

// In-memory stand-ins for the platform interfaces, shared by the unit tests.

#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "base/date_time.h"
#include "fakes/fake_dialup.h"
#include "platform/platform.h"
#include "platform/portable/stand_ins.h"

namespace velkora::fakes {

// INI files as nested maps; names compare without case, values come back as
// stored, cut to the buffer size. Lists are not modelled beyond NUL-joined
// names.
class FakeProfile : public Profile {
 public:
  struct Write {
    std::string file, section, key, value;
  };

  std::string GetString(std::optional<std::string_view> section,
                        std::optional<std::string_view> key, std::string_view default_text,
                        std::size_t buffer_size, const std::string& file) override;
  bool WriteString(std::string_view section, std::optional<std::string_view> key,
                   std::optional<std::string_view> value, const std::string& file) override;

  // Stores a value directly, bypassing the write log.
  void Set(const std::string& file, const std::string& section, const std::string& key,
           const std::string& value);
  // The stored value, or nullopt.
  std::optional<std::string> Get(const std::string& file, const std::string& section,
                                 const std::string& key) const;

  bool fail_writes = false;
  std::vector<Write> writes;  // every successful key write, in order
  int reads = 0;

 private:
  struct Section {
    std::string name;
    std::vector<std::pair<std::string, std::string>> keys;
  };
  using File = std::vector<Section>;
  std::map<std::string, File> files_;
};

// A clock that stands still; by default Monday 7 December 2026, 07:58:30.
class FakeClock : public Clock {
 public:
  FakeClock();
  DateTime Now() const override { return now; }
  DateTime now;
};

// German formats unless told otherwise.
class FakeLocale : public Locale {
 public:
  FakeLocale();
  FormatSettings Formats() const override { return formats; }
  FormatSettings formats;
};

class FakeFileSystem : public FileSystem {
 public:
  bool FileExists(const std::string& path) const override { return files.count(path) != 0; }
  bool DirectoryExists(const std::string& path) const override {
    return directories.count(path) != 0;
  }
  bool RemoveFile(const std::string& path) override;
  bool EmptyFile(const std::string& path) override;
  bool AppendToFile(const std::string& path, std::string_view bytes) override;
  std::vector<std::string> ListDirectory(const std::string&, std::string_view) const override {
    return {};
  }
  std::vector<std::string> FixedDrives() const override { return fixed_drives; }
  // Relative paths are taken from `current_folder`.
  std::string FullPath(const std::string& path) const override;
  char PathSeparator() const override { return '/'; }
  // Folders a walk can read are those in `walk_folders` (paths ending in
  // '/'); every read is recorded in `walk_reads`.
  bool ReadFolderForWalk(const std::string& folder, FolderIdentity& identity,
                         std::vector<WalkEntry>& entries) const override;
  bool IsOnFixedDisk(const std::string& folder) const override;

  struct WalkFolder {
    FolderIdentity identity;
    std::vector<WalkEntry> entries;
    bool fixed_disk = true;
  };
  // Adds a folder (and its entry in the parent folder, when that is known)
  // with a fresh identity on volume 1; returns it for further changes.
  WalkFolder& AddWalkFolder(const std::string& folder);

  std::vector<std::string> fixed_drives{"/"};
  std::string current_folder = "/arbeit";
  std::map<std::string, WalkFolder> walk_folders;
  mutable std::vector<std::string> walk_reads;

  std::map<std::string, std::string> files;
  std::set<std::string> directories;
  bool fail_appends = false;
  bool fail_deletes = false;
  bool fail_empties = false;
  int append_calls = 0;
};

// Records every box; answers from `answers` in order, then OK (or Yes for a
// Yes/No box when `answers` is empty). `inside` runs while a box is "open".
class FakeMessageBoxes : public MessageBoxes {
 public:
  struct Box {
    std::string text, caption;
    BoxIcon icon;
    BoxButtons buttons;
    bool default_no;
    bool task_modal;
  };
  BoxResult Show(const std::string& text, const std::string& caption, BoxIcon icon,
                 BoxButtons buttons, bool default_no, bool task_modal) override;

  std::vector<Box> shown;
  std::vector<BoxResult> answers;
  std::function<void()> inside;
};

// Locks held in this process; a second Acquire of a held name reports
// kAlreadyExists, like a second process would see.
class FakeLockFactory : public NamedLockFactory {
 public:
  LockResult Acquire(const std::string& name) override;
  // Runs `while_waiting` (the holder may let go there) when the lock is
  // held, then takes it if it is free.
  LockResult AcquireWaiting(const std::string& name, std::chrono::milliseconds wait) override;
  bool Held(const std::string& name) const { return held_->count(name) != 0; }
  bool fail = false;
  std::function<void()> while_waiting;
  std::vector<std::chrono::milliseconds> waits;  // every wait asked for, in order

 private:
  std::shared_ptr<std::set<std::string>> held_ = std::make_shared<std::set<std::string>>();
};

class FakeClassesRegistry : public ClassesRegistry {
 public:
  bool SetDefaultValue(const std::string& key, const std::string& value) override;
  bool DeleteKey(const std::string& key) override;

  std::map<std::string, std::string> keys;
  std::vector<std::string> operations;  // "set <key>=<value>" / "delete <key>"
  std::string fail_on;                  // a key whose creation fails
};

// The fakes as one bundle, for code that takes the whole platform. The
// window list, the dial-up library and the performance counters have no
// fakes here yet: they answer like a system without them (no windows,
// 1157, 0) until a test points `windows`, `ras` or `perf` at its own.
class FakePlatform : public Platform {
 public:
  Profile& IniFiles() override { return profile; }
  Clock& SystemClock() override { return clock; }
  Locale& UserLocale() override { return locale; }
  FileSystem& Files() override { return files; }
  MessageBoxes& Boxes() override { return boxes; }
  MessagePump& Messages() override { return *messages; }
  NamedLockFactory& Locks() override { return locks; }
  WindowList& TopLevelWindows() override { return *windows; }
  RasLibrary& Ras() override { return *ras; }
  PerfData& PerfCounters() override { return *perf; }
  TrayShell& Tray() override { return *tray; }
  ClassesRegistry& Registry() override { return registry; }

  FakeProfile profile;
  FakeClock clock;
  FakeLocale locale;
  FakeFileSystem files;
  FakeMessageBoxes boxes;
  FakeLockFactory locks;
  FakeClassesRegistry registry;
  WindowList* windows = &no_windows_;
  RasLibrary* ras = &no_ras_;
  PerfData* perf = &no_perf_;
  MessagePump* messages = &still_messages_;
  TrayShell* tray = &no_tray_;

 private:
  portable::EmptyWindowList no_windows_;
  portable::UnavailableRasLibrary no_ras_;
  portable::NoPerfCounters no_perf_;
  FakeMessagePump still_messages_;
  portable::NoTrayShell no_tray_;
};

}  // namespace velkora::fakes
