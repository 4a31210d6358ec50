#pragma once

#include <sys/types.h>

#include <functional>

#include "platform/posix/file_descriptor.h"
#include "platform/profile.h"

struct stat;

namespace velkora::posix {

// Profile over real files with the portable INI engine.
//
// Every call reads the file as it is on disk at that moment (nothing is
// cached). A write replaces the file atomically wherever that can be done:
// the new content goes to a temporary file in the same folder, which is
// flushed to disk and then renamed over the original, so a crash or a full
// disk leaves either the old or the new file, never a mix. The replacement
// keeps the original's permission bits and owner; a path that is a symbolic
// link is replaced at the link's final target, so the link stays a link.
// Readers only ever open the real name, so a temporary file left by a crash
// is never seen.
//
// Where a replacement cannot be made without changing what the file is, the
// file is rewritten in place (new content from the start, then cut to its
// length, then flushed), as the platform's own functions write: a file with
// more than one hard link (a replacement would split the names), a writable
// file in a folder this process may not add to or rename in, and a file
// whose owner or group this process could not give the replacement. Such a
// write is not atomic (a process killed during it can leave a mix), but a
// disk too full for the new content refuses it before any byte changes.
//
// The temporary file's name is short whatever the file's name is, so a name
// near the system's limit can still be replaced; where the folder's file
// system allows still shorter names only, the file is written in place.
//
// A write that changes nothing touches nothing and succeeds: deleting a key
// or a section that is not there leaves the file as it was, and a missing
// file (or folder) missing.
//
// Any other write fails (false) for an empty file name, a missing folder, a file
// without any write permission bit or that this process may not write, a
// file that exists but cannot be read, arguments with line breaks, and any
// error while creating, writing, flushing or renaming the temporary file
// (the file is then unchanged) or while writing in place.
class IniFileProfile final : public Profile {
 public:
  // Steps of a write at which a test can inject a failure.
  enum class WriteStep { kCreateTemp, kWriteTemp, kSyncTemp, kRename, kWriteInPlace };
  // Called before each step; returning true makes that step fail.
  using FaultInjector = std::function<bool(WriteStep)>;

  IniFileProfile() = default;
  explicit IniFileProfile(FaultInjector fault_injector)
      : fault_injector_(std::move(fault_injector)) {}

  // A file named without a full path (not starting with "/") is looked for
  // in `folder`, the way the platform's functions look in one fixed folder,
  // whatever the process's current folder is. Without a folder such names
  // are taken from the current folder.
  void SetFolderForRelativeNames(std::string folder) { relative_folder_ = std::move(folder); }

  std::string GetString(std::optional<std::string_view> section,
                        std::optional<std::string_view> key, std::string_view default_text,
                        std::size_t buffer_size, const std::string& file) override;

  bool WriteString(std::string_view section, std::optional<std::string_view> key,
                   std::optional<std::string_view> value, const std::string& file) override;

  // Reads the file once for the names and all their values.
  std::vector<NamedValue> GetSectionValues(std::string_view section, std::size_t list_buffer_size,
                                           std::size_t value_buffer_size,
                                           const std::string& file) override;

 private:
  bool Fails(WriteStep step) const { return fault_injector_ && fault_injector_(step); }

  // A new, empty temporary file beside `target`, created with `mode`
  // (before the umask) and never over an existing name. Without a
  // descriptor, `error` holds the errno of the last refusal (0 for an
  // injected one).
  struct TempFile {
    UniqueFd fd;
    std::string path;
    int error = 0;
  };
  TempFile CreateTempFile(const std::string& target, mode_t mode) const;

  // What became of an attempt to replace a file by a new one.
  enum class Replacement {
    kDone,          // `target` holds the new bytes, durably
    kWriteInPlace,  // `target` is unchanged and could not be replaced without
                    // changing its owner or because the folder refused a new
                    // name; writing it in place may still succeed
    kFailed,        // `target` is unchanged and the write must fail
  };
  // Writes `bytes` to a temporary file beside `target`, flushes it and
  // renames it over `target`, then flushes the folder. `original` is the
  // existing file's status as read (its bits and owner go to the
  // replacement), or null for a file to be created; kWriteInPlace is only
  // answered for an existing file. No temporary file is left behind.
  Replacement ReplaceViaTempFile(const std::string& target, const struct stat* original,
                                 std::string_view bytes) const;

  // Writes `bytes` over the existing `target` from its start, cuts it to
  // their length and flushes it. REQUIRES: `read_info` is the status of the
  // file the bytes were computed from; a different file found at `target`
  // now is left alone (false). A longer content gets its room on the disk
  // first, so a full disk refuses the write before any byte changes.
  bool WriteInPlace(const std::string& target, const struct stat& read_info,
                    std::string_view bytes) const;

  std::string PathOf(const std::string& file) const;

  FaultInjector fault_injector_;
  std::string relative_folder_;
};

}  // namespace velkora::posix
