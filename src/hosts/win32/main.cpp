// velkora.exe: the script-functions server as a COM local server. Started
// by COM with -Embedding, by hand, or with /RegServer or /UnregServer.
#include <windows.h>

#include <span>
#include <string>
#include <vector>

#include "automation/registration.h"
#include "hosts/win32/bench_probe.h"
#include "hosts/win32/command_line.h"
#include "hosts/win32/win32_com_server.h"
#include "platform/win32/win32_platform.h"
#include "regex/perlre.h"
#include "server/startup.h"
#include "shell/shell_context.h"

namespace {

std::string ModuleFileName() {
  std::string path(MAX_PATH, '\0');
  for (;;) {
    DWORD length = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, LPSTR /*command_line*/,
                   int /*show*/) {
  using namespace velkora;
  // First, so that it sees the whole start.
  win32::BenchProbe probe;
  const std::string exe = ModuleFileName();
  std::vector<std::string> params = win32::SplitCommandLine(GetCommandLineA());
  // Parameter 0 is always the full path, however the program was started.
  if (params.empty()) {
    params.push_back(exe);
  } else {
    params[0] = exe;
  }

  ServerConfig config{params, ChangeFileExt(exe, ".ini"), ChangeFileExt(exe, ".log")};
  config.when_running = WhenRunningFor(StartModeFromSwitches(std::span(params).subspan(1)));
  win32::Win32Platform platform;
  // The process's one regular expression instance, shared by every user.
  TPerlre perlre(/*study=*/true, kPerlreCaseless);
  win32::Win32ComServer server(exe, platform, probe);
  return RunServer(config, platform, perlre, server);
}
