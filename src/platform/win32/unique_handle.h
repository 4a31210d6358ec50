#pragma once

// Owners of Win32 handles, one line per handle type.

#include <windows.h>

#include "base/unique_any.h"

namespace velkora::win32 {

inline HANDLE InvalidHandleValue() { return INVALID_HANDLE_VALUE; }

// Kernel objects (mutex, process, thread); invalid is null.
using UniqueHandle = UniqueAny<HANDLE, &::CloseHandle>;
// Files from CreateFile; invalid is INVALID_HANDLE_VALUE.
using UniqueFile = UniqueAny<HANDLE, &::CloseHandle, &InvalidHandleValue>;
// Directory searches from FindFirstFile.
using UniqueFind = UniqueAny<HANDLE, &::FindClose, &InvalidHandleValue>;
// Registry keys.
using UniqueHkey = UniqueAny<HKEY, &::RegCloseKey>;
// Memory the system allocated for the caller (FormatMessage's buffer).
template <typename T>
using UniqueLocalMemory = UniqueAny<T*, &::LocalFree>;
// Windows.
using UniqueWindow = UniqueAny<HWND, &::DestroyWindow>;
// Loaded libraries.
using UniqueModule = UniqueAny<HMODULE, &::FreeLibrary>;
// Menus not (yet) attached to a window or another menu.
using UniqueMenu = UniqueAny<HMENU, &::DestroyMenu>;
// GDI fonts.
using UniqueFont = UniqueAny<HFONT, &::DeleteObject>;

inline void UnregisterWindowClass(ATOM atom) {
  UnregisterClassA(MAKEINTATOM(atom), GetModuleHandleA(nullptr));
}
inline void KillThreadTimer(UINT_PTR id) { KillTimer(nullptr, id); }

// A window class of this executable, by the atom RegisterClassEx returned.
using UniqueWindowClass = UniqueAny<ATOM, &UnregisterWindowClass, ATOM{0}>;
// A timer of the thread (SetTimer without a window).
using UniqueThreadTimer = UniqueAny<UINT_PTR, &KillThreadTimer, UINT_PTR{0}>;

}  // namespace velkora::win32
