#include "fakes/fake_platform.h"

#include <algorithm>
#include <filesystem>

#include "base/ascii.h"

namespace velkora::fakes {
namespace {

bool SameName(std::string_view a, std::string_view b) { return EqualsIgnoreAsciiCase(a, b); }

std::string Cut(std::string text, std::size_t buffer_size) {
  if (text.size() > buffer_size - 1) text.resize(buffer_size - 1);
  return text;
}

}  // namespace

std::string FakeProfile::GetString(std::optional<std::string_view> section,
                                   std::optional<std::string_view> key,
                                   std::string_view default_text, std::size_t buffer_size,
                                   const std::string& file) {
  ++reads;
  const std::string def(TrimRightBlanks(default_text, kSpaceOnly));
  auto f = files_.find(file);
  std::string list;
  if (!section) {
    if (f != files_.end()) {
      for (const Section& s : f->second) list += s.name + '\0';
    }
    return Cut(list, buffer_size);
  }
  const Section* found = nullptr;
  if (f != files_.end()) {
    for (const Section& s : f->second) {
      if (SameName(s.name, *section)) {
        found = &s;
        break;
      }
    }
  }
  if (!key) {
    if (found) {
      for (const auto& kv : found->keys) list += kv.first + '\0';
    }
    return Cut(list, buffer_size);
  }
  if (found) {
    for (const auto& kv : found->keys) {
      if (SameName(kv.first, *key)) return Cut(kv.second, buffer_size);
    }
  }
  return Cut(def, buffer_size);
}

bool FakeProfile::WriteString(std::string_view section, std::optional<std::string_view> key,
                              std::optional<std::string_view> value, const std::string& file) {
  if (fail_writes) return false;
  File& f = files_[file];
  auto s =
      std::find_if(f.begin(), f.end(), [&](const Section& x) { return SameName(x.name, section); });
  if (!key) {
    if (s != f.end()) f.erase(s);
    return true;
  }
  if (s == f.end()) {
    if (!value) return true;
    f.push_back(Section{std::string(section), {}});
    s = std::prev(f.end());
  }
  auto k = std::find_if(s->keys.begin(), s->keys.end(),
                        [&](const auto& kv) { return SameName(kv.first, *key); });
  if (!value) {
    if (k != s->keys.end()) s->keys.erase(k);
    return true;
  }
  if (k == s->keys.end()) {
    s->keys.emplace_back(std::string(*key), std::string(*value));
  } else {
    k->second = std::string(*value);
  }
  writes.push_back({file, std::string(section), std::string(*key), std::string(*value)});
  return true;
}

void FakeProfile::Set(const std::string& file, const std::string& section, const std::string& key,
                      const std::string& value) {
  const bool saved = fail_writes;
  fail_writes = false;
  const std::size_t count = writes.size();
  WriteString(section, key, value, file);
  writes.resize(count);
  fail_writes = saved;
}

std::optional<std::string> FakeProfile::Get(const std::string& file, const std::string& section,
                                            const std::string& key) const {
  auto f = files_.find(file);
  if (f == files_.end()) return std::nullopt;
  for (const Section& s : f->second) {
    if (!SameName(s.name, section)) continue;
    for (const auto& kv : s.keys) {
      if (SameName(kv.first, key)) return kv.second;
    }
    return std::nullopt;
  }
  return std::nullopt;
}

FakeClock::FakeClock() : now(EncodeDate(2026, 12, 7) + EncodeTime(7, 58, 30)) {}

FakeLocale::FakeLocale() : formats(FormatSettings::German()) {}

bool FakeFileSystem::ReadFolderForWalk(const std::string& folder, FolderIdentity& identity,
                                       std::vector<WalkEntry>& entries) const {
  walk_reads.push_back(folder);
  auto it = walk_folders.find(folder);
  if (it == walk_folders.end()) return false;
  identity = it->second.identity;
  entries = it->second.entries;
  return true;
}

bool FakeFileSystem::IsOnFixedDisk(const std::string& folder) const {
  auto it = walk_folders.find(folder);
  return it != walk_folders.end() && it->second.fixed_disk;
}

FakeFileSystem::WalkFolder& FakeFileSystem::AddWalkFolder(const std::string& folder) {
  WalkFolder& added = walk_folders[folder];
  added.identity = {1, walk_folders.size() + 1000};
  // "/a/b/" is entry "b" of "/a/".
  const std::size_t end = folder.size() - 1;
  const std::size_t slash = folder.rfind('/', end - 1);
  if (end > 0 && slash != std::string::npos) {
    auto parent = walk_folders.find(folder.substr(0, slash + 1));
    if (parent != walk_folders.end()) {
      parent->second.entries.push_back({folder.substr(slash + 1, end - slash - 1), true});
    }
  }
  return added;
}

std::string FakeFileSystem::FullPath(const std::string& path) const {
  if (!path.empty() && path.front() == '/') return path;
  // The generic form: the fake keeps to "/" on every system.
  return (std::filesystem::path(current_folder) / path).lexically_normal().generic_string();
}

bool FakeFileSystem::RemoveFile(const std::string& path) {
  if (fail_deletes) return false;
  return files.erase(path) != 0;
}

bool FakeFileSystem::EmptyFile(const std::string& path) {
  auto it = files.find(path);
  if (fail_empties || it == files.end()) return false;
  it->second.clear();
  return true;
}

bool FakeFileSystem::AppendToFile(const std::string& path, std::string_view bytes) {
  ++append_calls;
  if (fail_appends) return false;
  files[path] += bytes;
  return true;
}

BoxResult FakeMessageBoxes::Show(const std::string& text, const std::string& caption, BoxIcon icon,
                                 BoxButtons buttons, bool default_no, bool task_modal) {
  shown.push_back({text, caption, icon, buttons, default_no, task_modal});
  if (inside) inside();
  if (!answers.empty()) {
    BoxResult answer = answers.front();
    answers.erase(answers.begin());
    return answer;
  }
  return buttons == BoxButtons::kYesNo ? BoxResult::kYes : BoxResult::kOk;
}

namespace {

class FakeLock : public NamedLock {
 public:
  FakeLock(std::shared_ptr<std::set<std::string>> held, std::string name)
      : held_(std::move(held)), name_(std::move(name)) {}
  ~FakeLock() override { held_->erase(name_); }

 private:
  std::shared_ptr<std::set<std::string>> held_;
  std::string name_;
};

}  // namespace

LockResult FakeLockFactory::Acquire(const std::string& name) {
  if (fail) return Unexpected(LockFailure::kFailed);
  if (held_->count(name) != 0) return Unexpected(LockFailure::kAlreadyExists);
  held_->insert(name);
  return std::make_unique<FakeLock>(held_, name);
}

LockResult FakeLockFactory::AcquireWaiting(const std::string& name,
                                           std::chrono::milliseconds wait) {
  waits.push_back(wait);
  if (!fail && held_->count(name) != 0 && while_waiting) while_waiting();
  return Acquire(name);
}

bool FakeClassesRegistry::SetDefaultValue(const std::string& key, const std::string& value) {
  if (key == fail_on) return false;
  keys[key] = value;
  operations.push_back("set " + key + "=" + value);
  return true;
}

bool FakeClassesRegistry::DeleteKey(const std::string& key) {
  operations.push_back("delete " + key);
  return keys.erase(key) != 0;
}

}  // namespace velkora::fakes
