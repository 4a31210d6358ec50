#pragma once

#include <functional>

#include "platform/profile.h"

namespace velkora::posix {

// Profile over real files with the portable INI engine.
//
// Every call reads the file as it is on disk at that moment (nothing is
// cached). A write never modifies the file in place: the new content goes
// to a temporary file in the same folder, which is flushed to disk and then
// renamed over the original, so a crash or a full disk leaves either the old
// or the new file, never a mix. The replacement keeps the original's
// permission bits (and owner, where allowed); a path that is a symbolic link
// is replaced at the link's final target, so the link stays a link. Readers
// only ever open the real name, so a temporary file left by a crash is
// never seen.
//
// A write fails (false, file unchanged) for an empty file name, a missing
// folder, a file without any write permission bit or that this process may
// not write, a file that exists but cannot be read, arguments with line
// breaks, and any error while creating, writing, flushing or renaming the
// temporary file.
class IniFileProfile final : public Profile {
 public:
  // Steps of a write at which a test can inject a failure.
  enum class WriteStep { kCreateTemp, kWriteTemp, kSyncTemp, kRename };
  // Called before each step; returning true makes that step fail.
  using FaultInjector = std::function<bool(WriteStep)>;

  IniFileProfile() = default;
  explicit IniFileProfile(FaultInjector fault_injector) : fault_injector_(std::move(fault_injector)) {}

  std::string GetString(std::optional<std::string_view> section, std::optional<std::string_view> key,
                        std::string_view default_text, std::size_t buffer_size,
                        const std::string& file) override;

  bool WriteString(std::string_view section, std::optional<std::string_view> key,
                   std::optional<std::string_view> value, const std::string& file) override;

 private:
  bool Fails(WriteStep step) const { return fault_injector_ && fault_injector_(step); }

  FaultInjector fault_injector_;
};

}  // namespace velkora::posix
