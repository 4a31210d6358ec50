#include "platform/win32/win32_file_system.h"

#include "platform/win32/unique_handle.h"

namespace velkora::win32 {

bool Win32FileSystem::FileExists(const std::string& path) const {
  DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool Win32FileSystem::DirectoryExists(const std::string& path) const {
  DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool Win32FileSystem::RemoveFile(const std::string& path) {
  return ::DeleteFileA(path.c_str()) != FALSE;
}

bool Win32FileSystem::EmptyFile(const std::string& path) {
  UniqueFile file(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, TRUNCATE_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  return static_cast<bool>(file);
}

bool Win32FileSystem::AppendToFile(const std::string& path, std::string_view bytes) {
  UniqueFile file(CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  while (!bytes.empty()) {
    DWORD chunk = bytes.size() > 0x10000000u ? 0x10000000u : static_cast<DWORD>(bytes.size());
    DWORD written = 0;
    if (!WriteFile(file.get(), bytes.data(), chunk, &written, nullptr) || written == 0) {
      return false;
    }
    bytes.remove_prefix(written);
  }
  return true;
}

std::vector<std::string> Win32FileSystem::ListDirectory(const std::string& folder,
                                                        std::string_view pattern) const {
  std::string query = folder;
  if (!query.empty() && query.back() != '\\' && query.back() != '/' && query.back() != ':') {
    query.push_back('\\');
  }
  query.append(pattern);
  std::vector<std::string> names;
  WIN32_FIND_DATAA entry{};
  UniqueFind search(FindFirstFileA(query.c_str(), &entry));
  if (!search) return names;
  do {
    std::string name = entry.cFileName;
    if (name == "." || name == "..") continue;
    if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) name.push_back('\\');
    names.push_back(std::move(name));
  } while (FindNextFileA(search.get(), &entry));
  return names;
}

std::vector<std::string> Win32FileSystem::FixedDrives() const {
  std::vector<std::string> drives;
  const DWORD present = GetLogicalDrives();
  for (int letter = 0; letter < 26; ++letter) {
    if ((present & (1u << letter)) == 0) continue;
    std::string root = std::string(1, static_cast<char>('A' + letter)) + ":\\";
    if (GetDriveTypeA(root.c_str()) == DRIVE_FIXED) drives.push_back(root);
  }
  return drives;
}

std::string Win32FileSystem::FullPath(const std::string& path) const {
  if (path.empty()) return path;
  std::string full(MAX_PATH, '\0');
  for (int attempt = 0; attempt < 2; ++attempt) {
    const DWORD length =
        GetFullPathNameA(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (length == 0) return path;
    if (length < full.size()) {
      full.resize(length);
      return full;
    }
    full.assign(length, '\0');  // too small: `length` counts the NUL as well
  }
  return path;
}

bool Win32FileSystem::ReadFolderForWalk(const std::string& folder, FolderIdentity& identity,
                                        std::vector<WalkEntry>& entries) const {
  // FILE_FLAG_OPEN_REPARSE_POINT opens a junction or link itself, so its
  // attributes tell what it is instead of those of its target.
  UniqueFile handle(CreateFileA(
      folder.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  if (!handle) return false;
  BY_HANDLE_FILE_INFORMATION info{};
  if (!GetFileInformationByHandle(handle.get(), &info)) return false;
  if ((info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 ||
      (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
    return false;
  }
  identity.volume = info.dwVolumeSerialNumber;
  identity.index = (static_cast<uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;

  entries.clear();
  std::string query = folder;
  if (!query.empty() && query.back() != '\\' && query.back() != '/') query.push_back('\\');
  query += '*';
  WIN32_FIND_DATAA entry{};
  UniqueFind search(FindFirstFileExA(query.c_str(), FindExInfoStandard, &entry,
                                     FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH));
  if (!search) return GetLastError() == ERROR_FILE_NOT_FOUND;
  do {
    std::string name = entry.cFileName;
    if (name == "." || name == "..") continue;
    // A name the code page cannot spell comes back with '?', which no real
    // name holds; the short name reaches the same entry.
    if (name.find('?') != std::string::npos && entry.cAlternateFileName[0] != '\0') {
      name = entry.cAlternateFileName;
    }
    const bool is_directory = (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 &&
                              (entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0;
    entries.push_back(WalkEntry{std::move(name), is_directory});
  } while (FindNextFileA(search.get(), &entry));
  return GetLastError() == ERROR_NO_MORE_FILES;
}

bool Win32FileSystem::IsOnFixedDisk(const std::string& folder) const {
  char root[MAX_PATH + 1] = {};
  if (!GetVolumePathNameA(folder.c_str(), root, sizeof root)) return false;
  return GetDriveTypeA(root) == DRIVE_FIXED;
}

}  // namespace velkora::win32
