#include "window_search/window_functions.h"

#include <exception>

#include "base/ascii.h"
#include "base/variant.h"

namespace velkora {
namespace {

// The call text of the window functions goes to the status line as built,
// line breaks and all; only the log escapes them.
void ShowCall(ScriptFrame& frame, const std::string& call) {
  frame.SetStatusLine(call);
  frame.WriteLog(call);
}

std::string CutTitle(std::string title) {
  if (title.size() > kMaxWindowTitle) title.resize(kMaxWindowTitle);
  return title;
}

// Compiles the script's pattern into the shared instance. A pattern that
// does not compile is reported to the user; the caller then returns the
// empty text.
bool CompilePattern(ScriptFrame& frame, TPerlre& perlre, const std::string& muster) {
  try {
    perlre.SetRegex(muster);
    return true;
  } catch (const std::exception& e) {
    frame.ReportException(e);
    return false;
  }
}

void Append(std::string& result, const std::string& trenner, const std::string& title) {
  if (!result.empty()) result += trenner;
  result += title;
}

}  // namespace

std::vector<TopLevelWindow> ListTopLevelWindows(const WindowList& windows) {
  std::vector<TopLevelWindow> listed;
  for (TopLevelWindow& window : windows.Snapshot()) {
    if (window.title.empty()) continue;
    listed.push_back({window.handle, CutTitle(std::move(window.title))});
  }
  return listed;
}

std::optional<uintptr_t> FindWindowByTitle(ScriptFrame& frame, const WindowList& windows,
                                           std::string_view name) {
  std::optional<uintptr_t> found;
  for (const TopLevelWindow& window : windows.Snapshot()) {
    if (StartsWithIgnoreAsciiCase(CutTitle(window.title), name)) {
      found = window.handle;
      break;
    }
  }
  frame.WriteLog(found ? " Fenster gefunden" : " Fenster existiert nicht");
  return found;
}

bool WindowExists(ScriptFrame& frame, const WindowList& windows, const std::string& fenster_name) {
  ShowCall(frame, CallText("WindowExists", {fenster_name}));
  const bool exists = !fenster_name.empty() && FindWindowByTitle(frame, windows, fenster_name);
  frame.LogResult(BoolText(exists));
  return exists;
}

void CloseWindow(ScriptFrame& frame, WindowList& windows, const std::string& fenster_name) {
  ShowCall(frame, CallText("CloseWindow", {fenster_name}));
  if (fenster_name.empty()) return;
  if (const auto handle = FindWindowByTitle(frame, windows, fenster_name)) {
    windows.PostClose(*handle);  // a refused request is not reported
  }
}

std::string WndGetList(ScriptFrame& frame, const WindowList& windows, TPerlre& perlre,
                       const std::string& muster, const std::string& trenner) {
  ShowCall(frame, CallText("WndGetList", {muster, trenner}));
  std::string result;
  if (!CompilePattern(frame, perlre, muster)) return result;
  for (const TopLevelWindow& window : ListTopLevelWindows(windows)) {
    if (perlre.Match(window.title)) Append(result, trenner, window.title);
  }
  frame.LogResult(Quoted(result));
  return result;
}

std::string WndClose(ScriptFrame& frame, WindowList& windows, TPerlre& perlre,
                     const FormatSettings& formats, const std::string& muster,
                     const std::string& trenner, const std::string& alle) {
  // Raises before anything is shown, logged or closed.
  const bool close_all = !alle.empty() && TextToBool(alle, formats);

  std::string call = CallText("WndClose", {muster, trenner});
  call.pop_back();  // the third argument is written as a word, unquoted
  call += ',';
  call += BoolText(close_all);
  call += ')';
  ShowCall(frame, call);

  std::string result;
  if (!CompilePattern(frame, perlre, muster)) return result;
  for (const TopLevelWindow& window : ListTopLevelWindows(windows)) {
    if (!perlre.Match(window.title)) continue;
    Append(result, trenner, window.title);
    windows.PostClose(window.handle);  // a refused request is not reported
    if (!close_all) break;
  }
  frame.LogResult(Quoted(result));
  return result;
}

}  // namespace velkora
