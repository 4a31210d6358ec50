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

}  // namespace velkora::win32
