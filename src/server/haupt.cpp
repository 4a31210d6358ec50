#include "server/haupt.h"

#include <optional>

#include "base/ascii.h"
#include "base/error.h"
#include "dialup/dialup_functions.h"
#include "ini/ini_functions.h"
#include "lcr/ranking.h"
#include "shell/log.h"
#include "shell/settings.h"
#include "window_search/window_functions.h"

namespace velkora {

std::string VersionDigits(std::string_view version) {
  std::string digits;
  std::size_t start = 0;
  while (true) {
    const std::size_t point = version.find('.', start);
    std::string_view part = version.substr(
        start, point == std::string_view::npos ? std::string_view::npos : point - start);
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

THaupt::THaupt(ShellContext& shell, TPerlre& perlre, StartSettings start,
               std::vector<std::string> params)
    : shell_(shell),
      perlre_(perlre),
      frame_(shell),
      start_(start),
      params_(std::move(params)),
      tray_icon_(shell.platform.Tray(), ApplicationTitle(params_.empty() ? "" : params_[0])),
      ras_(shell.platform.Ras(), shell.platform.Messages()) {
  vordergrund_ = ReadSetting(shell_, kSectionFenster, "Vordergrund", Variant::Bool(true)).AsBool();
  left_ = ReadSetting(shell_, kSectionFenster, "Links", Variant::I4(0)).AsI4();
  top_ = ReadSetting(shell_, kSectionFenster, "Oben", Variant::I4(0)).AsI4();

  tray_icon_.SetActive(true);
  tray_icon_.SetSeparateIcon(false);
  tray_icon_.OnClick([this] { TrayZeigeInfo(); });

  if (start_.testmodus) {
    frame_.SetStatusLine("Start Velkora Version " + std::string(kVersion));
    tray_icon_.SetActive(false);
    visibility_ = StartVisibility::kShown;
  } else if (params_.size() > 1 && AsciiUppered(params_[1]) == "TESTMODE") {
    visibility_ = StartVisibility::kShown;
  } else {
    // Started for automation (or with anything else): no window; the icon
    // comes with the minimise, unless the server is to be invisible.
    visibility_ = start_.unsichtbar ? StartVisibility::kHidden : StartVisibility::kMinimizedToTray;
  }
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

// --- dial-up functions -----------------------------------------------------

std::string THaupt::GetRasConnection() { return velkora::GetRasConnection(frame_, ras_); }

std::string THaupt::RasClose() { return velkora::RasClose(frame_, ras_); }

int32_t THaupt::GetPerfStats(const std::string& key) {
  return velkora::GetPerfStats(frame_, shell_.platform.PerfCounters(), key);
}

LcrServices THaupt::LcrDienste() {
  Platform& platform = shell_.platform;
  LcrServices services{platform.IniFiles(),
                       shell_.settings_file,
                       platform.SystemClock(),
                       platform.UserLocale(),
                       platform.Files(),
                       platform.Boxes(),
                       perlre_,
                       frame_,
                       nullptr};
  if (shell_.schreibe_log) services.log = [this](std::string_view text) { frame_.WriteLog(text); };
  return services;
}

std::string THaupt::GetRasLCRName(const std::string& dauer) {
  LcrServices services = LcrDienste();
  std::string cheapest = velkora::GetRasLCRName(services, dauer, Para5());
  if (para5_observer_) para5_observer_(Para5());
  return cheapest;
}

std::string THaupt::GetRasLCRInfo(const std::string& dauer, const std::string& trenner) {
  LcrServices services = LcrDienste();
  return velkora::GetRasLCRInfo(services, dauer, trenner);
}

void THaupt::LCRFehler(const std::string& text) {
  LcrServices services = LcrDienste();
  velkora::LCRFehler(services, text);
}

void THaupt::MenuTestGetRasLCRName() {
  const std::string dauer = Para1();
  GetRasLCRName(dauer);
}

// --- window functions -------------------------------------------------------

bool THaupt::WindowExists(const std::string& fenster_name) {
  return velkora::WindowExists(frame_, shell_.platform.TopLevelWindows(), fenster_name);
}

void THaupt::CloseWindow(const std::string& fenster_name) {
  velkora::CloseWindow(frame_, shell_.platform.TopLevelWindows(), fenster_name);
}

std::string THaupt::WndGetList(const std::string& muster, const std::string& trenner) {
  return velkora::WndGetList(frame_, shell_.platform.TopLevelWindows(), perlre_, muster, trenner);
}

std::string THaupt::WndClose(const std::string& muster, const std::string& trenner,
                             const std::string& alle) {
  return velkora::WndClose(frame_, shell_.platform.TopLevelWindows(), perlre_,
                           shell_.platform.UserLocale().Formats(), muster, trenner, alle);
}

// --- INI functions ----------------------------------------------------------

IniFunctions THaupt::Ini() {
  Platform& platform = shell_.platform;
  return IniFunctions(frame_, platform.IniFiles(), platform.Boxes(), platform.UserLocale());
}

void THaupt::IniWrite(const std::string& datei, const std::string& sektion,
                      const std::string& eintrag, const Variant& wert) {
  Ini().IniWrite(datei, sektion, eintrag, wert);
}

Variant THaupt::IniRead(const std::string& datei, const std::string& sektion,
                        const std::string& eintrag, const Variant& wert) {
  return Ini().IniRead(datei, sektion, eintrag, wert);
}

void THaupt::IniDeleteKey(const std::string& datei, const std::string& sektion,
                          const std::string& eintrag) {
  Ini().IniDeleteKey(datei, sektion, eintrag);
}

std::string THaupt::IniReadSectionValues(const std::string& ini_datei, const std::string& sektion,
                                         const std::string& trenner) {
  return Ini().IniReadSectionValues(ini_datei, sektion, trenner);
}

std::string THaupt::IniReadSection(const std::string& datei, const std::string& sektion,
                                   const std::string& trenner) {
  return Ini().IniReadSection(datei, sektion, trenner);
}

std::string THaupt::IniReadSections(const std::string& datei, const std::string& trenner) {
  return Ini().IniReadSections(datei, trenner);
}

}  // namespace velkora
