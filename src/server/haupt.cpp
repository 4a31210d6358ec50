#include "server/haupt.h"

#include <optional>

#include "base/error.h"
#include "shell/log.h"
#include "shell/settings.h"

namespace velkora {

std::string VersionDigits(std::string_view version) {
  std::string digits;
  std::size_t start = 0;
  while (true) {
    const std::size_t point = version.find('.', start);
    std::string_view part = version.substr(start, point == std::string_view::npos
                                                      ? std::string_view::npos
                                                      : point - start);
    if (part.size() < 2) digits.append(2 - part.size(), '0');
    digits += part;
    if (point == std::string_view::npos) break;
    start = point + 1;
  }
  return digits;
}

std::string InfoText() {
  std::string text =
      "Velkora ist ein kleiner Automatisierungsserver, der den Funktionsumfang des "
      "Windows Script Host um weitere Befehle erweitert.";
  text += "\r\r";
  text += "Version ";
  text += kVersion;
  text += ", Stand 03/2017";
  return text;
}

THaupt::THaupt(ShellContext& shell, StartSettings start, std::vector<std::string> params)
    : shell_(shell), frame_(shell), start_(start), params_(std::move(params)) {
  left_ = ReadSetting(shell_, kSectionFenster, "Links", Variant::I4(0)).AsI4();
  top_ = ReadSetting(shell_, kSectionFenster, "Oben", Variant::I4(0)).AsI4();
}

void THaupt::FormDestroy() {
  std::optional<std::string> not_written;
  try {
    WriteSetting(shell_, kSectionFenster, "Links", Variant::I4(left_));
    WriteSetting(shell_, kSectionFenster, "Oben", Variant::I4(top_));
  } catch (const Error& e) {
    not_written = e.what();
  }
  if (not_written) WriteLog(shell_, "Fensterposition nicht gespeichert: " + *not_written);
  WriteLog(shell_, "Programmende");
}

void THaupt::ShowInfo() {
  LogCall("ShowInfo()");
  // No guard of its own: the box cannot fail in a way a script should see
  // differently from any other escaping error.
  shell_.platform.Boxes().Show(InfoText(), "Info", BoxIcon::kInformation);
}

std::string THaupt::VelkoraVersion() {
  LogCall("VelkoraVersion()");
  std::string result;
  try {
    result = VersionDigits(kVersion);
    LogResult(Quoted(result));
  } catch (const std::exception& e) {
    ReportException(e);
  }
  return result;
}

std::string THaupt::VelkoraIniname() {
  LogCall("VelkoraIniname()");
  std::string result = SettingsFileName(shell_);
  LogResult(Quoted(result));
  return result;
}

// Subsystems that are not part of this build yet.
bool THaupt::WindowExists(const std::string&) { throw NotImplementedError("WindowExists"); }
void THaupt::CloseWindow(const std::string&) { throw NotImplementedError("CloseWindow"); }
std::string THaupt::GetRasConnection() { throw NotImplementedError("GetRasConnection"); }
void THaupt::IniWrite(const std::string&, const std::string&, const std::string&,
                      const Variant&) {
  throw NotImplementedError("IniWrite");
}
Variant THaupt::IniRead(const std::string&, const std::string&, const std::string&,
                        const Variant&) {
  throw NotImplementedError("IniRead");
}
void THaupt::IniDeleteKey(const std::string&, const std::string&, const std::string&) {
  throw NotImplementedError("IniDeleteKey");
}
std::string THaupt::GetRasLCRName(const std::string&) {
  throw NotImplementedError("GetRasLCRName");
}
std::string THaupt::GetRasLCRInfo(const std::string&, const std::string&) {
  throw NotImplementedError("GetRasLCRInfo");
}
std::string THaupt::WndGetList(const std::string&, const std::string&) {
  throw NotImplementedError("WndGetList");
}
std::string THaupt::WndClose(const std::string&, const std::string&, const std::string&) {
  throw NotImplementedError("WndClose");
}
std::string THaupt::RasClose() { throw NotImplementedError("RasClose"); }
std::string THaupt::IniReadSectionValues(const std::string&, const std::string&,
                                         const std::string&) {
  throw NotImplementedError("IniReadSectionValues");
}
std::string THaupt::IniReadSection(const std::string&, const std::string&, const std::string&) {
  throw NotImplementedError("IniReadSection");
}
std::string THaupt::IniReadSections(const std::string&, const std::string&) {
  throw NotImplementedError("IniReadSections");
}
int32_t THaupt::GetPerfStats(const std::string&) { throw NotImplementedError("GetPerfStats"); }

}  // namespace velkora
