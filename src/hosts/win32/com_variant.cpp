#include "hosts/win32/com_variant.h"

#include <climits>

#include "hosts/win32/com_owners.h"

namespace velkora::win32 {

std::string AnsiFromWide(const wchar_t* text, std::size_t length) {
  if (text == nullptr || length == 0 || length > INT_MAX) return std::string();
  const int wide_length = static_cast<int>(length);
  int size = WideCharToMultiByte(CP_ACP, 0, text, wide_length, nullptr, 0, nullptr, nullptr);
  if (size <= 0) return std::string();
  std::string result(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_ACP, 0, text, wide_length, result.data(), size, nullptr, nullptr);
  return result;
}

std::wstring WideFromAnsi(std::string_view text) {
  if (text.empty() || text.size() > INT_MAX) return std::wstring();
  const int ansi_length = static_cast<int>(text.size());
  int size = MultiByteToWideChar(CP_ACP, 0, text.data(), ansi_length, nullptr, 0);
  if (size <= 0) return std::wstring();
  std::wstring result(static_cast<std::size_t>(size), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.data(), ansi_length, result.data(), size);
  return result;
}

namespace {

// The platform's decimal with every digit; a scale beyond 28 is no valid
// decimal and has no form here either.
Variant FromDecimal(const DECIMAL& d) {
  if (d.scale > 28) return Variant::Unknown();
  return Variant::Dec(Decimal{d.scale, (d.sign & DECIMAL_NEG) != 0, d.Hi32, d.Lo64});
}

}  // namespace

namespace {

// References to references are not something a script engine makes; a
// chain longer than this is a client's mistake, and one that leads back to
// itself would never end.
constexpr int kMostReferencesInARow = 16;

Variant FromComVariantAt(const VARIANT& value, std::deque<Variant>& referents, int depth);

}  // namespace

Variant FromComVariant(const VARIANT& value, std::deque<Variant>& referents) {
  return FromComVariantAt(value, referents, 0);
}

namespace {

Variant FromComVariantAt(const VARIANT& value, std::deque<Variant>& referents, int depth) {
  const VARTYPE type = V_VT(&value);
  if (type & VT_ARRAY) return Variant::Array(static_cast<uint16_t>(type & VT_TYPEMASK));
  if (type == (VT_BYREF | VT_VARIANT)) {
    if (V_VARIANTREF(&value) == nullptr || depth >= kMostReferencesInARow)
      return Variant::Unknown();
    referents.push_back(FromComVariantAt(*V_VARIANTREF(&value), referents, depth + 1));
    return Variant::ByRef(&referents.back());
  }
  if (type & VT_BYREF) {
    // Another type by reference: read the value it points at. The copy is
    // cleared also when reading it fails.
    UniqueVariant target;
    if (FAILED(VariantCopyInd(target.put(), const_cast<VARIANT*>(&value))))
      return Variant::Unknown();
    return FromComVariantAt(target.get(), referents, depth + 1);
  }
  switch (type) {
    case VT_EMPTY: return Variant();
    case VT_NULL: return Variant::Null();
    case VT_I2: return Variant::I2(V_I2(&value));
    case VT_I4: return Variant::I4(V_I4(&value));
    case VT_R4: return Variant::R4(V_R4(&value));
    case VT_R8: return Variant::R8(V_R8(&value));
    case VT_CY: return Variant::Currency(V_CY(&value).int64);
    case VT_DATE: return Variant::Date(V_DATE(&value));
    case VT_BSTR: return Variant::Text(AnsiFromWide(V_BSTR(&value), SysStringLen(V_BSTR(&value))));
    case VT_DISPATCH: return Variant::Dispatch();
    case VT_ERROR: return Variant::ErrorCode(V_ERROR(&value));
    case VT_BOOL: return Variant::Bool(V_BOOL(&value) != VARIANT_FALSE);
    case VT_UNKNOWN: return Variant::Unknown();
    case VT_UI1: return Variant::Ui1(V_UI1(&value));
    // The other numbers keep their type codes and every digit: what the
    // INI functions do depends on the code, and a 64-bit value or a decimal
    // must not lose digits on the way through a double.
    case VT_I1: return Variant::I1(static_cast<int8_t>(V_I1(&value)));
    case VT_UI2: return Variant::Ui2(V_UI2(&value));
    case VT_UI4: return Variant::Ui4(V_UI4(&value));
    case VT_I8: return Variant::I8(V_I8(&value));
    case VT_UI8: return Variant::Ui8(V_UI8(&value));
    case VT_INT: return Variant::Int(V_INT(&value));
    case VT_UINT: return Variant::Uint(V_UINT(&value));
    case VT_DECIMAL: return FromDecimal(V_DECIMAL(&value));
    default: return Variant::Unknown();
  }
}

}  // namespace

Variant TextArgumentFromComVariant(const VARIANT& value, std::deque<Variant>& referents) {
  // How many objects in a row a default value may lead through. The
  // platform follows them without end, so an object that gives itself
  // would never let the call return.
  constexpr int kMostObjectsInARow = 8;

  const VARIANT* arg = &value;
  for (int step = 0; V_VT(arg) == (VT_BYREF | VT_VARIANT) && V_VARIANTREF(arg) != nullptr; ++step) {
    if (step == kMostReferencesInARow) return Variant::Unknown();
    arg = V_VARIANTREF(arg);
  }
  IDispatch* first = nullptr;  // null for Nothing
  if (V_VT(arg) == VT_DISPATCH) {
    first = V_DISPATCH(arg);
  } else if (V_VT(arg) == (VT_BYREF | VT_DISPATCH) && V_DISPATCHREF(arg) != nullptr) {
    first = *V_DISPATCHREF(arg);
  } else {
    return FromComVariant(value, referents);
  }
  ComPtr<IDispatch> object = ComPtr<IDispatch>::Copy(first);
  for (int step = 0; step < kMostObjectsInARow && object; ++step) {
    DISPPARAMS no_arguments{};
    UniqueVariant fetched;
    if (FAILED(object->Invoke(DISPID_VALUE, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET,
                              &no_arguments, fetched.put(), nullptr, nullptr))) {
      break;
    }
    if (V_VT(&fetched.get()) != VT_DISPATCH) return FromComVariant(fetched.get(), referents);
    object = ComPtr<IDispatch>::Copy(V_DISPATCH(&fetched.get()));
  }
  return Variant::Dispatch();
}

HRESULT ToComVariant(const Variant& value, VARIANT* out) {
  switch (value.Type()) {
    case kVtNull: V_VT(out) = VT_NULL; break;
    case kVtI2:
      V_VT(out) = VT_I2;
      V_I2(out) = value.AsI2();
      break;
    case kVtI4:
      V_VT(out) = VT_I4;
      V_I4(out) = value.AsI4();
      break;
    case kVtR4:
      V_VT(out) = VT_R4;
      V_R4(out) = value.AsR4();
      break;
    case kVtR8:
      V_VT(out) = VT_R8;
      V_R8(out) = value.AsR8();
      break;
    case kVtCy:
      V_VT(out) = VT_CY;
      V_CY(out).int64 = value.AsCurrency();
      break;
    case kVtDate:
      V_VT(out) = VT_DATE;
      V_DATE(out) = value.AsDate();
      break;
    case kVtBool:
      V_VT(out) = VT_BOOL;
      V_BOOL(out) = value.AsBool() ? VARIANT_TRUE : VARIANT_FALSE;
      break;
    case kVtUi1:
      V_VT(out) = VT_UI1;
      V_UI1(out) = value.AsUi1();
      break;
    case kVtI1:
      V_VT(out) = VT_I1;
      V_I1(out) = static_cast<CHAR>(value.AsInteger());
      break;
    case kVtUi2:
      V_VT(out) = VT_UI2;
      V_UI2(out) = static_cast<USHORT>(value.AsInteger());
      break;
    case kVtUi4:
      V_VT(out) = VT_UI4;
      V_UI4(out) = static_cast<ULONG>(value.AsInteger());
      break;
    case kVtI8:
      V_VT(out) = VT_I8;
      V_I8(out) = value.AsInteger();
      break;
    case kVtUi8:
      V_VT(out) = VT_UI8;
      V_UI8(out) = value.AsUi8();
      break;
    case kVtInt:
      V_VT(out) = VT_INT;
      V_INT(out) = static_cast<INT>(value.AsInteger());
      break;
    case kVtUint:
      V_VT(out) = VT_UINT;
      V_UINT(out) = static_cast<UINT>(value.AsInteger());
      break;
    case kVtDecimal: {
      // The decimal fills the whole VARIANT, its first field overlapping
      // the type code: set the code last.
      const Decimal& d = value.AsDecimal();
      DECIMAL& target = V_DECIMAL(out);
      target.scale = d.scale;
      target.sign = d.negative ? DECIMAL_NEG : 0;
      target.Hi32 = d.hi32;
      target.Lo64 = d.lo64;
      V_VT(out) = VT_DECIMAL;
      break;
    }
    case kVtError:
      V_VT(out) = VT_ERROR;
      V_ERROR(out) = value.AsErrorCode();
      break;
    case kVtBstr: {
      std::wstring wide = WideFromAnsi(value.AsText());
      BSTR text = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
      if (text == nullptr) return E_OUTOFMEMORY;
      V_VT(out) = VT_BSTR;
      V_BSTR(out) = text;
      break;
    }
    default: V_VT(out) = VT_EMPTY; break;
  }
  return S_OK;
}

}  // namespace velkora::win32
