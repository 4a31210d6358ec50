#pragma once

#include <exception>
#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>

#include "shell/shell_context.h"

namespace velkora {

// A modal error box with `text`, the title "Fehler in Velkora", the error
// icon and an OK button. Returns when the user has closed it. Never raises,
// because it runs in error handlers: a box that cannot be made (no memory
// for its texts) is not shown.
void ShowError(MessageBoxes& boxes, std::string_view text) noexcept;

// The frame every script function runs in: its call line and result line
// go to the status line and the log, its errors to the log and an error box.
//
// Thread safety: the main thread only. Script calls arrive there one at a
// time (a nested call from inside a message box included), and the status
// line and the log are written without a lock.
class ScriptFrame {
 public:
  explicit ScriptFrame(ShellContext& shell) : shell_(shell) {}
  ScriptFrame(const ScriptFrame&) = delete;
  ScriptFrame& operator=(const ScriptFrame&) = delete;

  // The status line becomes the escaped text; the text is logged.
  void LogCall(std::string_view text);
  // "-->" and the escaped text are appended to the status line; " --> " and
  // the text are logged.
  void LogResult(std::string_view text);
  // Logs " Exception: " + message, then shows the error box
  // "Exception: " + message whether logging is on or not. Never raises: it
  // runs in the functions' error handlers.
  void ReportException(std::string_view message) noexcept;
  void ReportException(const std::exception& error) noexcept { ReportException(error.what()); }

  // A plain log line (escaped, timestamped; nothing while logging is off).
  // Subsystems write their own log lines through this.
  void WriteLog(std::string_view text);

  // Sets the status line as given (some functions show unescaped text).
  void SetStatusLine(std::string text);
  const std::string& StatusLine() const { return status_line_; }
  // Called with the new text after every change of the status line; a
  // host with a visible label sets it here.
  void OnStatusChanged(std::function<void(const std::string&)> observer) {
    status_observer_ = std::move(observer);
  }

  ShellContext& Shell() { return shell_; }

 private:
  ShellContext& shell_;
  std::string status_line_;
  std::function<void(const std::string&)> status_observer_;
};

// `text` enclosed in double quotes, nothing escaped.
std::string Quoted(std::string_view text);
// "True" or "False", the form of Boolean results in result lines.
std::string_view BoolText(bool value);
// The call text: name, "(", every argument in double quotes separated by
// commas without blanks, ")". `CallText("F", {})` is "F()".
std::string CallText(std::string_view name, std::initializer_list<std::string_view> args);

}  // namespace velkora
