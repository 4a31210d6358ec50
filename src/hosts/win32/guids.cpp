// The one translation unit that defines the GUIDs of the generated header
// (LIBID_ScriptFunctions, IID_IApp, CLSID_App).
#include <windows.h>
#include <ole2.h>

#include <initguid.h>

#include "velkora_idl.h"
