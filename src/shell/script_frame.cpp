#include "shell/script_frame.h"

#include "shell/log.h"

namespace velkora {

void ShowError(MessageBoxes& boxes, std::string_view text) noexcept {
  try {
    boxes.Show(std::string(text), "Fehler in Velkora", BoxIcon::kError);
  } catch (...) {
    // Nothing is left to tell the user with.
  }
}

void ScriptFrame::LogCall(std::string_view text) {
  SetStatusLine(EscapeLineBreaks(text));
  velkora::WriteLog(shell_, text);
}

void ScriptFrame::LogResult(std::string_view text) {
  SetStatusLine(status_line_ + "-->" + EscapeLineBreaks(text));
  velkora::WriteLog(shell_, std::string(" --> ") + std::string(text));
}

void ScriptFrame::ReportException(std::string_view message) noexcept {
  try {
    std::string text = "Exception: ";
    text += message;
    // The log line is the box text after a blank.
    velkora::WriteLog(shell_, " " + text);
    ShowError(shell_.platform.Boxes(), text);
  } catch (...) {
    // Without memory for the texts the error goes unreported; the function
    // that met it still returns normally.
  }
}

void ScriptFrame::WriteLog(std::string_view text) { velkora::WriteLog(shell_, text); }

void ScriptFrame::SetStatusLine(std::string text) {
  status_line_ = std::move(text);
  if (status_observer_) status_observer_(status_line_);
}

std::string Quoted(std::string_view text) {
  std::string quoted;
  quoted.reserve(text.size() + 2);
  quoted += '"';
  quoted += text;
  quoted += '"';
  return quoted;
}

std::string_view BoolText(bool value) { return value ? "True" : "False"; }

std::string CallText(std::string_view name, std::initializer_list<std::string_view> args) {
  std::string text(name);
  text += '(';
  bool first = true;
  for (std::string_view arg : args) {
    if (!first) text += ',';
    first = false;
    text += Quoted(arg);
  }
  text += ')';
  return text;
}

}  // namespace velkora
