#include "lcr/tk32_search.h"

#include <deque>
#include <functional>
#include <unordered_set>
#include <vector>

#include "base/ascii.h"

namespace velkora {
namespace {

struct IdentityHash {
  std::size_t operator()(const FileSystem::FolderIdentity& id) const {
    return std::hash<uint64_t>()(id.index * 0x9E3779B97F4A7C15ull ^ id.volume);
  }
};

struct Candidate {
  std::string folder;
  uint64_t parent_volume = 0;
  bool is_root = false;
};

}  // namespace

std::string SearchFixedDrivesFor(const FileSystem& files, std::string_view file_name) {
  const char separator = files.PathSeparator();
  std::deque<Candidate> queue;
  for (std::string& root : files.FixedDrives()) queue.push_back({std::move(root), 0, true});

  std::unordered_set<FileSystem::FolderIdentity, IdentityHash> visited;
  std::vector<FileSystem::WalkEntry> entries;
  const std::string wanted(file_name);
  while (!queue.empty()) {
    const Candidate candidate = std::move(queue.front());
    queue.pop_front();

    FileSystem::FolderIdentity identity;
    if (!files.ReadFolderForWalk(candidate.folder, identity, entries)) {
      // A folder we may not list can still hold a file we may read.
      if (files.FileExists(candidate.folder + wanted)) return candidate.folder;
      continue;
    }
    if (!candidate.is_root && identity.volume != candidate.parent_volume &&
        !files.IsOnFixedDisk(candidate.folder)) {
      continue;
    }
    if (!visited.insert(identity).second) continue;

    // The listing shows whether the file can be there at all; whether it
    // counts is left to FileExists, which knows the platform's rules for
    // letter case and links.
    for (const FileSystem::WalkEntry& entry : entries) {
      if (EqualsIgnoreAsciiCase(entry.name, wanted)) {
        if (files.FileExists(candidate.folder + wanted)) return candidate.folder;
        break;
      }
    }
    for (FileSystem::WalkEntry& entry : entries) {
      if (!entry.is_directory) continue;
      std::string child = candidate.folder;
      child += entry.name;
      child += separator;
      queue.push_back({std::move(child), identity.volume, false});
    }
  }
  return "";
}

}  // namespace velkora
