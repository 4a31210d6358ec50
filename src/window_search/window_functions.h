#pragma once

// The window functions: test for, close, list and close by pattern the
// top-level windows of other programs, by their titles. Each takes what it
// works with by reference: the script frame it logs through, the platform's
// window list, and (for the pattern functions) the process's shared
// regular expression instance.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/format_settings.h"
#include "platform/window_list.h"
#include "regex/perlre.h"
#include "shell/script_frame.h"

namespace velkora {

// The longest title the functions see; a longer one is cut to this.
inline constexpr std::size_t kMaxWindowTitle = 255;

// One snapshot of the top-level windows that have a title, in the platform's
// order (Z-order, topmost first), titles cut to kMaxWindowTitle. Hidden
// windows and the server's own take part like any other.
std::vector<TopLevelWindow> ListTopLevelWindows(const WindowList& windows);

// The first window in the platform's order whose title begins with `name`,
// comparing ASCII letters without case and every other byte exactly.
// Logs " Fenster gefunden" or " Fenster existiert nicht". `name` is not
// empty (callers do not search for the empty text).
std::optional<uintptr_t> FindWindowByTitle(ScriptFrame& frame, const WindowList& windows,
                                           std::string_view name);

// WindowExists(FensterName): whether a window's title begins with
// `fenster_name`; False for the empty name, which is not searched for.
// Result line "True"/"False".
bool WindowExists(ScriptFrame& frame, const WindowList& windows, const std::string& fenster_name);

// CloseWindow(FensterName): posts the close request to the first window
// whose title begins with `fenster_name` (nothing for the empty name). No
// result line; whether a window was found shows only in the log.
void CloseWindow(ScriptFrame& frame, WindowList& windows, const std::string& fenster_name);

// WndGetList(Muster, Trenner): the titles that `muster` matches (searched
// anywhere in the title, with the options of `perlre`), joined by
// `trenner`. A pattern that does not compile is reported (log line and
// error box) and gives the empty text without a result line.
std::string WndGetList(ScriptFrame& frame, const WindowList& windows, TPerlre& perlre,
                       const std::string& muster, const std::string& trenner);

// WndClose(Muster, Trenner, Alle): posts the close request to the first
// matching window, or to every one when `alle` is true, and returns their
// titles joined by `trenner` (asked to close; the call does not wait to see
// them go). `alle` is read with the platform's text-to-Boolean rules in
// `formats` (the empty text is False); text that is no Boolean raises
// VariantTypeError before anything is logged or touched. A pattern that
// does not compile is reported as with WndGetList.
std::string WndClose(ScriptFrame& frame, WindowList& windows, TPerlre& perlre,
                     const FormatSettings& formats, const std::string& muster,
                     const std::string& trenner, const std::string& alle);

}  // namespace velkora
