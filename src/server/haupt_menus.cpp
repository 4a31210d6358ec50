// The main window's menu handlers. The window (the host's) reads its input
// lines into Para1 to Para5 before a handler runs and shows Para5 after it;
// an error that escapes a handler goes to the host's general error report.
#include "server/haupt.h"

#include "shell/settings.h"

namespace velkora {

void THaupt::MenuDateiVordergrund() {
  vordergrund_ = !vordergrund_;
  WriteSetting(shell_, kSectionFenster, "Vordergrund", Variant::Bool(vordergrund_));
}

void THaupt::MenuTestInfo() { ShowInfo(); }

void THaupt::Version1Click() { Para5() = VelkoraVersion(); }

void THaupt::Ininame1Click() { Para5() = VelkoraIniname(); }

void THaupt::MenuTestWindowExists() { WindowExists(Para1()); }

void THaupt::MenuTestCloseWindow() { CloseWindow(Para1()); }

void THaupt::WndGetList1Click() { Para5() = WndGetList(Para1(), Para2()); }

void THaupt::WndClose1Click() { Para5() = WndClose(Para1(), Para2(), Para3()); }

// The connection's name shows in the status line.
void THaupt::MenuTestGetRasConnection() { GetRasConnection(); }

void THaupt::TrayZeigeInfo() {
  // The box is modal but serves messages, so a second click on the icon
  // arrives while it is open.
  if (info_showing_) return;
  info_showing_ = true;
  try {
    ShowInfo();
  } catch (...) {
    info_showing_ = false;
    throw;
  }
  info_showing_ = false;
}

}  // namespace velkora
