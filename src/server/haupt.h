#pragma once

#include <array>
#include <cstdint>
#include <exception>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "base/variant.h"
#include "base/version.h"
#include "dialup/t_ras.h"
#include "lcr/lcr_services.h"
#include "regex/perlre.h"
#include "ini/ini_functions.h"
#include "shell/script_frame.h"
#include "shell/shell_context.h"
#include "shell/tray_icon.h"

namespace velkora {

// The version as digits: each point-separated part left-padded with "0" to
// at least two characters, joined without separator ("1.2.3" -> "010203").
std::string VersionDigits(std::string_view version);

// The text of the information box.
std::string InfoText();

// The flags settled at start-up that the main window obeys; they never
// change afterwards. SchreibeLog, the third, belongs to the log
// (ShellContext::schreibe_log).
struct StartSettings {
  bool testmodus = false;
  bool unsichtbar = false;
};

// The main window object without its window: the status line, the five
// input lines and every script operation under its dispatch name. There is
// one per process; the automation objects and the host reach it by
// reference.
//
// Thread safety: the main thread only, like the window it stands for. Every
// script operation, menu handler and window event runs on that thread; a
// call that arrives while a message box is open runs nested inside it.
class THaupt {
 public:
  // How the window shows itself once the message loop runs.
  enum class StartVisibility {
    kShown,            // Testmodus, or TESTMODE as the first parameter
    kMinimizedToTray,  // the normal start: hidden, then WMStartMinimized
    kHidden,           // Unsichtbar: no window, no taskbar button, no icon
  };

  // The window's creation handler: reads Vordergrund and the position
  // (Links, Oben), makes the tray icon and the dial-up component, and
  // settles the visibility. `perlre` is the process's shared regular
  // expression instance (made by the host before the main window, studied
  // and caseless). `params` is the command line, [0] the program path.
  THaupt(ShellContext& shell, TPerlre& perlre, StartSettings start,
         std::vector<std::string> params);
  THaupt(const THaupt&) = delete;
  THaupt& operator=(const THaupt&) = delete;

  // The destruction handler: writes Links and Oben, then logs
  // "Programmende". A position that cannot be written is logged instead of
  // raised: the end of a server started by COM has nobody to answer a box.
  void FormDestroy();

  // --- script frame -------------------------------------------------------
  ScriptFrame& Frame() { return frame_; }
  ShellContext& Shell() { return shell_; }
  TPerlre& Perlre() { return perlre_; }
  const std::string& StatusLine() const { return frame_.StatusLine(); }
  void LogCall(std::string_view text) { frame_.LogCall(text); }
  void LogResult(std::string_view text) { frame_.LogResult(text); }
  void ReportException(const std::exception& error) noexcept { frame_.ReportException(error); }

  // --- input lines of the test menu ---------------------------------------
  std::string& Para1() { return para_[0]; }
  std::string& Para2() { return para_[1]; }
  std::string& Para3() { return para_[2]; }
  std::string& Para4() { return para_[3]; }
  std::string& Para5() { return para_[4]; }
  // Called with the new text when a script operation wrote Para5 (the
  // ranking does), so that a window on screen shows it at once; null
  // removes it.
  void OnPara5Changed(std::function<void(const std::string&)> observer) {
    para5_observer_ = std::move(observer);
  }

  const StartSettings& Start() const { return start_; }
  const std::vector<std::string>& Params() const { return params_; }
  int32_t Left() const { return left_; }
  int32_t Top() const { return top_; }
  // The host's window reports where it was moved to.
  void SetPosition(int32_t left, int32_t top) {
    left_ = left;
    top_ = top;
  }

  StartVisibility Visibility() const { return visibility_; }
  // Whether the window stays on top of others (Vordergrund).
  bool StaysOnTop() const { return vordergrund_; }

  TTrayIcon& TrayIcon() { return tray_icon_; }
  TRAS& Ras() { return ras_; }

  // --- window and menu handlers (the window itself is the host's) ----------
  // The message the window posts itself at a normal start: the
  // application is minimised into the notification area. The host calls it
  // in place of minimising a window that was never shown.
  void WMStartMinimized() { ApplicationMinimized(); }
  // The application was minimised (the tray icon takes over) or restored.
  void ApplicationMinimized() { tray_icon_.AppMinimize(); }
  void ApplicationRestored() { tray_icon_.AppRestore(); }

  // Toggles Vordergrund and writes it at once; the host then sets the
  // window and the check mark from StaysOnTop() (also when the write
  // raised).
  void MenuDateiVordergrund();
  void MenuTestInfo();
  void Version1Click();
  void Ininame1Click();
  void MenuTestWindowExists();
  void MenuTestCloseWindow();
  void WndGetList1Click();
  void WndClose1Click();
  void MenuTestGetRasConnection();
  // MenuTestGetRasLCRName: with the least-cost routing below.
  // The tray icon's click and the tray menu's "&Info": the info box, but
  // only one at a time.
  void TrayZeigeInfo();
  bool InfoShowing() const { return info_showing_; }

  // --- script operations, in the interface's order ------------------------
  void ShowInfo();
  bool WindowExists(const std::string& fenster_name);
  void CloseWindow(const std::string& fenster_name);
  std::string GetRasConnection();
  void IniWrite(const std::string& datei, const std::string& sektion, const std::string& eintrag,
                const Variant& wert);
  Variant IniRead(const std::string& datei, const std::string& sektion, const std::string& eintrag,
                  const Variant& wert);
  void IniDeleteKey(const std::string& datei, const std::string& sektion,
                    const std::string& eintrag);
  std::string GetRasLCRName(const std::string& dauer);
  std::string GetRasLCRInfo(const std::string& dauer, const std::string& trenner);
  std::string WndGetList(const std::string& muster, const std::string& trenner);
  std::string WndClose(const std::string& muster, const std::string& trenner,
                       const std::string& alle);
  std::string RasClose();
  std::string VelkoraVersion();
  std::string IniReadSectionValues(const std::string& ini_datei, const std::string& sektion,
                                   const std::string& trenner);
  std::string IniReadSection(const std::string& datei, const std::string& sektion,
                             const std::string& trenner);
  std::string IniReadSections(const std::string& datei, const std::string& trenner);
  std::string VelkoraIniname();
  int32_t GetPerfStats(const std::string& key);

  // --- least-cost routing --------------------------------------------------
  // The tariff engine's error box ("Fehler in Velkora.GetRasLCR") and its
  // log line.
  void LCRFehler(const std::string& text);
  // The test menu's entry LCR: GetRasLCRName with Para1 as the duration; the
  // result shows in the status line, the list in Para5.
  void MenuTestGetRasLCRName();

 private:
  // The INI functions over this process's profile functions, boxes and
  // locale, writing to this window's frame.
  IniFunctions Ini();
  // What the tariff engine needs, over this process's platform.
  LcrServices LcrDienste();

  ShellContext& shell_;
  TPerlre& perlre_;
  ScriptFrame frame_;
  StartSettings start_;
  std::vector<std::string> params_;
  std::array<std::string, 5> para_;
  int32_t left_ = 0;
  int32_t top_ = 0;
  bool vordergrund_ = true;
  bool info_showing_ = false;
  std::function<void(const std::string&)> para5_observer_;
  StartVisibility visibility_ = StartVisibility::kShown;
  TTrayIcon tray_icon_;
  TRAS ras_;
};

}  // namespace velkora
