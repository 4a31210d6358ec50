#pragma once

// The COM boundary: wide text and VARIANTs on one side, the server's 8-bit
// text (ANSI code page) and Variant on the other.

#include <windows.h>
#include <oleauto.h>

#include <deque>
#include <string>
#include <string_view>

#include "base/variant.h"

namespace velkora::win32 {

std::string AnsiFromWide(const wchar_t* text, std::size_t length);
std::wstring WideFromAnsi(std::string_view text);

// A client's argument as a Variant. A reference to a variant
// (VT_BYREF|VT_VARIANT, how VBScript passes variables) becomes a by-reference
// Variant whose target is stored in `referents`, which must outlive the
// result. References to other types are read through. Every number keeps
// its type code and all its digits (VT_I1, VT_UI2, VT_UI4, VT_I8, VT_UI8,
// VT_INT, VT_UINT, VT_DECIMAL, VT_CY as well). Types the server has
// no form for (records, interfaces other than IDispatch/IUnknown, pointers)
// come back as Unknown, which every conversion refuses.
Variant FromComVariant(const VARIANT& value, std::deque<Variant>& referents);

// An argument that the server makes text, as FromComVariant makes it, but
// an object (also one a script variable holds) stands for its default
// value: the value its DISPID_VALUE property gives, asked for without
// arguments, as the platform's conversion to text asks for it. The folder
// object of a file system object gives its path, for instance. Nothing,
// an object without such a value or one whose default member needs
// arguments (a dictionary), and a chain of objects that does not end in a
// value within a few steps, come back as an object, which every text
// conversion refuses.
Variant TextArgumentFromComVariant(const VARIANT& value, std::deque<Variant>& referents);

// A result for the client. REQUIRES: `out` is empty (VariantInit). Text
// becomes a BSTR; markers without a value (objects, arrays, references) give
// an empty variant. Returns E_OUTOFMEMORY when a BSTR cannot be made.
HRESULT ToComVariant(const Variant& value, VARIANT* out);

}  // namespace velkora::win32
