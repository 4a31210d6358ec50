// Test helper for the Wine end-to-end runs: watches for message boxes and
// answers them, and finds or closes top-level windows by their title.
//
//   box_watcher watch <log> [--delay=ms] [--answer-file=<file>] [--stop-file=<file>]
//       Loops over the top-level dialog windows (class "#32770"). For every box
//       it waits `delay` ms (so a test can prove that the caller was blocked),
//       appends one line "caption<TAB>text<TAB>button" in UTF-8 to <log>, with
//       backslash, tab, CR and LF written as \\ \t \r \n, then presses a button.
//       The button is the first line of the answer file when that names a
//       button present in the box (ok, yes, no, cancel), otherwise OK, Yes,
//       Cancel, No in that order; "hold" leaves every box up until the file
//       names a button. Ends when the stop file exists.
//   box_watcher find <title> <timeout_ms>
//       Exit code 0 as soon as a top-level window with exactly this title
//       exists, 1 when none appeared in time.
//   box_watcher close <title> <timeout_ms>
//       Posts WM_CLOSE to that window and waits until it is gone: 0 when it
//       closed, 1 when it was not found, 2 when it did not close in time.
//   box_watcher windows <record> <timeout_ms> <title>...
//       Opens one visible top-level window per title (ANSI text), the first
//       title topmost in Z-order, and runs until all of them are closed or the
//       time is up. Every WM_CLOSE a window receives appends "WM_CLOSE <title>"
//       to <record> and closes that window, the way an ordinary program obeys
//       a close request.
//   box_watcher sleep <ms>
//       Sleeps; Wine's script engines have no sleep of their own.
#include <windows.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "wide_text.h"

namespace {

// Owns one Win32 file handle.
class FileHandle {
 public:
  explicit FileHandle(HANDLE handle) : handle_(handle) {}
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  ~FileHandle() {
    if (valid()) CloseHandle(handle_);
  }
  bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
  HANDLE get() const { return handle_; }

 private:
  HANDLE handle_;
};

std::string Escape(const std::string& text) {
  std::string result;
  for (char c : text) {
    switch (c) {
      case '\\': result += "\\\\"; break;
      case '\t': result += "\\t"; break;
      case '\r': result += "\\r"; break;
      case '\n': result += "\\n"; break;
      default: result += c;
    }
  }
  return result;
}

std::wstring WindowText(HWND window) {
  int length = GetWindowTextLengthW(window);
  if (length <= 0) return {};
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  int copied = GetWindowTextW(window, text.data(), length + 1);
  text.resize(static_cast<size_t>(copied > 0 ? copied : 0));
  return text;
}

std::wstring ClassName(HWND window) {
  wchar_t name[256] = {};
  GetClassNameW(window, name, 256);
  return name;
}

bool FileExists(const std::string& path) {
  return !path.empty() && GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string ReadFirstLine(const std::string& path) {
  if (path.empty()) return {};
  FileHandle file(CreateFileA(path.c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) return {};
  char buffer[64] = {};
  DWORD read = 0;
  if (!ReadFile(file.get(), buffer, sizeof buffer - 1, &read, nullptr)) return {};
  std::string line(buffer, read);
  line = line.substr(0, line.find_first_of("\r\n"));
  for (char& c : line) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return line;
}

// A script polling the file may hold it open without sharing writes at the
// moment a close request comes in: the open is tried again for up to two
// seconds, so that no request goes unrecorded.
void AppendLine(const std::string& path, const std::string& line) {
  const auto open = [&] {
    return CreateFileA(path.c_str(), FILE_APPEND_DATA,
                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
  };
  HANDLE handle = open();
  for (int attempt = 0;
       attempt < 100 && handle == INVALID_HANDLE_VALUE && GetLastError() == ERROR_SHARING_VIOLATION;
       ++attempt) {
    Sleep(20);
    handle = open();
  }
  FileHandle file(handle);
  if (!file.valid()) return;
  std::string data = line + "\n";
  DWORD written = 0;
  WriteFile(file.get(), data.data(), static_cast<DWORD>(data.size()), &written, nullptr);
}

// The box text is the longest static text; the other static of a message box
// holds the icon and has no text.
std::wstring BoxText(HWND box) {
  std::wstring best;
  HWND child = nullptr;
  while ((child = FindWindowExW(box, child, nullptr, nullptr)) != nullptr) {
    if (lstrcmpiW(ClassName(child).c_str(), L"Static") != 0) continue;
    std::wstring text = WindowText(child);
    if (text.size() > best.size()) best = text;
  }
  return best;
}

struct Button {
  const char* name;
  int id;
};
constexpr Button kButtons[] = {{"ok", IDOK}, {"yes", IDYES}, {"cancel", IDCANCEL}, {"no", IDNO}};

std::string PressButton(HWND box, const std::string& wanted) {
  std::vector<Button> order;
  for (const Button& button : kButtons)
    if (wanted == button.name) order.push_back(button);
  for (const Button& button : kButtons) order.push_back(button);
  for (const Button& button : order) {
    HWND control = GetDlgItem(box, button.id);
    if (control == nullptr) continue;
    DWORD_PTR unused = 0;
    SendMessageTimeoutW(control, BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, 5000, &unused);
    return button.name;
  }
  PostMessageW(box, WM_CLOSE, 0, 0);
  return "close";
}

BOOL CALLBACK CollectBoxes(HWND window, LPARAM param) {
  auto* boxes = reinterpret_cast<std::vector<HWND>*>(param);
  if (IsWindowVisible(window) && ClassName(window) == L"#32770") boxes->push_back(window);
  return TRUE;
}

int Watch(const std::string& log, int delay_ms, const std::string& answer_file,
          const std::string& stop_file) {
  std::set<HWND> handled;
  while (!FileExists(stop_file)) {
    std::vector<HWND> boxes;
    EnumWindows(CollectBoxes, reinterpret_cast<LPARAM>(&boxes));
    for (auto it = handled.begin(); it != handled.end();)
      it = IsWindow(*it) ? std::next(it) : handled.erase(it);
    for (HWND box : boxes) {
      if (handled.count(box) != 0) continue;
      if (ReadFirstLine(answer_file) == "hold") continue;
      handled.insert(box);
      Sleep(static_cast<DWORD>(delay_ms));
      if (!IsWindow(box)) continue;
      std::string caption = Escape(ToUtf8(WindowText(box)));
      std::string text = Escape(ToUtf8(BoxText(box)));
      std::string button = PressButton(box, ReadFirstLine(answer_file));
      AppendLine(log, caption + "\t" + text + "\t" + button);
    }
    Sleep(50);
  }
  return 0;
}

struct FindRequest {
  std::wstring title;
  HWND found = nullptr;
};

BOOL CALLBACK FindByTitle(HWND window, LPARAM param) {
  auto* request = reinterpret_cast<FindRequest*>(param);
  if (WindowText(window) != request->title) return TRUE;
  request->found = window;
  return FALSE;
}

HWND WaitForWindow(const std::wstring& title, DWORD timeout_ms) {
  DWORD start = GetTickCount();
  for (;;) {
    FindRequest request{title};
    EnumWindows(FindByTitle, reinterpret_cast<LPARAM>(&request));
    if (request.found != nullptr) return request.found;
    if (GetTickCount() - start >= timeout_ms) return nullptr;
    Sleep(100);
  }
}

// The windows of "windows" mode: each closes on request and says so.
struct OwnWindows {
  std::string record;
  int open = 0;
};

std::string AnsiWindowText(HWND window) {
  char title[1024] = {};
  const int length = GetWindowTextA(window, title, sizeof title);
  return std::string(title, static_cast<size_t>(length > 0 ? length : 0));
}

LRESULT CALLBACK OwnWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  // Set right after creation, before any close request can arrive.
  auto* own = reinterpret_cast<OwnWindows*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (own == nullptr) return DefWindowProcA(window, message, wparam, lparam);
  switch (message) {
    case WM_CLOSE: {
      // Gone before the record says so: a test that reads the record never
      // meets the window again.
      const std::string title = AnsiWindowText(window);
      DestroyWindow(window);
      AppendLine(own->record, "WM_CLOSE " + title);
      return 0;
    }
    case WM_DESTROY:
      if (--own->open == 0) PostQuitMessage(0);
      return 0;
    default: return DefWindowProcA(window, message, wparam, lparam);
  }
}

int OpenWindows(const std::string& record, DWORD timeout_ms,
                const std::vector<std::string>& titles) {
  OwnWindows own{record};
  WNDCLASSA window_class = {};
  window_class.lpfnWndProc = OwnWindowProc;
  window_class.hInstance = GetModuleHandleA(nullptr);
  window_class.lpszClassName = "VelkoraE2eWindow";
  if (RegisterClassA(&window_class) == 0) return 1;
  // Each new window goes on top: open the last title first.
  for (auto title = titles.rbegin(); title != titles.rend(); ++title) {
    HWND window = CreateWindowExA(0, window_class.lpszClassName, title->c_str(),
                                  WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 200, 100, nullptr,
                                  nullptr, window_class.hInstance, nullptr);
    if (window == nullptr) return 1;
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&own));
    ++own.open;
  }
  const UINT_PTR timer = SetTimer(nullptr, 0, timeout_ms, nullptr);
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    if (message.message == WM_TIMER && message.hwnd == nullptr && message.wParam == timer) break;
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  KillTimer(nullptr, timer);
  return own.open == 0 ? 0 : 2;
}

int Usage() {
  std::fprintf(stderr,
               "usage: box_watcher watch <log> [--delay=ms] [--answer-file=f] [--stop-file=f]\n"
               "       box_watcher find|close <title> <timeout_ms>\n"
               "       box_watcher windows <record> <timeout_ms> <title>...\n"
               "       box_watcher sleep <ms>\n");
  return 64;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty()) return Usage();
  const std::string& mode = args[0];
  if (mode == "watch" && args.size() >= 2) {
    int delay_ms = 1000;
    std::string answer_file;
    std::string stop_file;
    for (size_t i = 2; i < args.size(); ++i) {
      const std::string& arg = args[i];
      if (arg.rfind("--delay=", 0) == 0) {
        delay_ms = std::atoi(arg.c_str() + 8);
      } else if (arg.rfind("--answer-file=", 0) == 0) {
        answer_file = arg.substr(14);
      } else if (arg.rfind("--stop-file=", 0) == 0) {
        stop_file = arg.substr(12);
      } else {
        return Usage();
      }
    }
    return Watch(args[1], delay_ms, answer_file, stop_file);
  }
  if ((mode == "find" || mode == "close") && args.size() == 3) {
    DWORD timeout_ms = static_cast<DWORD>(std::atoi(args[2].c_str()));
    HWND window = WaitForWindow(Widen(args[1], CP_ACP), timeout_ms);
    if (window == nullptr) return 1;
    if (mode == "find") return 0;
    PostMessageW(window, WM_CLOSE, 0, 0);
    DWORD start = GetTickCount();
    while (IsWindow(window)) {
      if (GetTickCount() - start >= timeout_ms) return 2;
      Sleep(100);
    }
    return 0;
  }
  if (mode == "windows" && args.size() >= 4) {
    return OpenWindows(args[1], static_cast<DWORD>(std::atoi(args[2].c_str())),
                       std::vector<std::string>(args.begin() + 3, args.end()));
  }
  if (mode == "sleep" && args.size() == 2) {
    Sleep(static_cast<DWORD>(std::atoi(args[1].c_str())));
    return 0;
  }
  return Usage();
}
