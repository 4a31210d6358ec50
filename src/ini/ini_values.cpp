// IniWrite, IniRead and IniDeleteKey: single values whose script type
// decides how they are stored and read back.

#include <cstdio>
#include <exception>

#include "base/conversions.h"
#include "ini/ini_file.h"
#include "ini/ini_functions.h"

namespace velkora {
namespace {

// Four upper-case hexadecimal digits, as the type line and box show a code.
std::string TypeCodeText(uint16_t code) {
  char digits[8];
  std::snprintf(digits, sizeof digits, "%04X", static_cast<unsigned>(code));
  return digits;
}

std::string TypeLine(const Variant& wert) {
  switch (ClassOf(wert)) {
    case IniValueClass::kInteger: return " Integer";
    case IniValueClass::kReal: return " Real";
    case IniValueClass::kString: return " String";
    case IniValueClass::kBoolean: return " Boolean";
    case IniValueClass::kUnklar: break;
  }
  return " unklar " + TypeCodeText(wert.Type());
}

std::string UnknownTypeText(std::string_view function, const Variant& wert,
                            const std::string& datei, const std::string& sektion,
                            const std::string& eintrag) {
  std::string text(function);
  text += " - Datentyp (" + TypeCodeText(wert.Type()) + ") unbekannt:\r\n\r\n";
  text += "Datei: " + datei + "\r\n";
  text += "Sektion: " + sektion + "\r\n";
  text += "Schlüssel: " + eintrag;
  return text;
}

// "Name("Datei","Sektion","Eintrag",[Wert])".
std::string ValueCallText(std::string_view name, const std::string& datei,
                          const std::string& sektion, const std::string& eintrag,
                          const std::string& wert_text) {
  std::string text = CallText(name, {datei, sektion, eintrag});
  text.pop_back();
  text += ",[" + wert_text + "])";
  return text;
}

int32_t IntegerOf(const Variant& wert) { return wert.Type() == kVtI2 ? wert.AsI2() : wert.AsI4(); }

double RealOf(const Variant& wert) {
  return wert.Type() == kVtR4 ? static_cast<double>(wert.AsR4()) : wert.AsR8();
}

}  // namespace

IniValueClass ClassOf(const Variant& wert) {
  switch (wert.Type()) {
    case kVtI2:
    case kVtI4: return IniValueClass::kInteger;
    case kVtR4:
    case kVtR8: return IniValueClass::kReal;
    case kVtBstr:
    case kVtByRef | kVtVariant: return IniValueClass::kString;
    case kVtBool: return IniValueClass::kBoolean;
    default: return IniValueClass::kUnklar;
  }
}

std::string IniValueText(const Variant& wert, const FormatSettings& fs) {
  if (wert.Deref().Type() == kVtNull) return "";
  return VariantToText(wert, fs);
}

void IniFunctions::IniWrite(const std::string& datei, const std::string& sektion,
                            const std::string& eintrag, const Variant& wert) {
  try {
    const FormatSettings fs = locale_.Formats();
    frame_.LogCall(ValueCallText("IniWrite", datei, sektion, eintrag, IniValueText(wert, fs)));
    TIniFile ini(profile_, datei);
    frame_.WriteLog(TypeLine(wert));
    switch (ClassOf(wert)) {
      case IniValueClass::kInteger:
        ini.WriteString(sektion, eintrag, IntToStr(IntegerOf(wert)));
        break;
      case IniValueClass::kReal:
        ini.WriteString(sektion, eintrag, FloatToStr(RealOf(wert), fs));
        break;
      case IniValueClass::kString: ini.WriteString(sektion, eintrag, IniValueText(wert, fs)); break;
      case IniValueClass::kBoolean:
        ini.WriteString(sektion, eintrag, wert.AsBool() ? "1" : "0");
        break;
      case IniValueClass::kUnklar:
        ShowError(boxes_, UnknownTypeText("IniWrite", wert, datei, sektion, eintrag));
        break;
    }
  } catch (const std::exception& e) {
    frame_.ReportException(e);
  }
}

Variant IniFunctions::IniRead(const std::string& datei, const std::string& sektion,
                              const std::string& eintrag, const Variant& wert) {
  Variant result;
  try {
    const FormatSettings fs = locale_.Formats();
    frame_.LogCall(ValueCallText("IniRead", datei, sektion, eintrag, IniValueText(wert, fs)));
    TIniFile ini(profile_, datei);
    frame_.WriteLog(TypeLine(wert));
    switch (ClassOf(wert)) {
      case IniValueClass::kInteger:
        result = Variant::I4(ini.ReadInteger(sektion, eintrag, IntegerOf(wert)));
        break;
      case IniValueClass::kReal:
        result =
            Variant::R8(StrToFloat(ini.ReadString(sektion, eintrag, IniValueText(wert, fs)), fs));
        break;
      case IniValueClass::kString:
        result = Variant::Text(ini.ReadString(sektion, eintrag, IniValueText(wert, fs)));
        break;
      case IniValueClass::kBoolean:
        result = Variant::Bool(ini.ReadInteger(sektion, eintrag, wert.AsBool() ? 1 : 0) != 0);
        break;
      case IniValueClass::kUnklar:
        ShowError(boxes_, UnknownTypeText("IniRead", wert, datei, sektion, eintrag));
        break;
    }
    frame_.LogResult("[" + IniValueText(result, fs) + "]");
  } catch (const std::exception& e) {
    frame_.ReportException(e);
    result = Variant();
  }
  return result;
}

void IniFunctions::IniDeleteKey(const std::string& datei, const std::string& sektion,
                                const std::string& eintrag) {
  try {
    frame_.LogCall(CallText("IniDeleteKey", {datei, sektion, eintrag}));
    TIniFile ini(profile_, datei);
    ini.DeleteKey(sektion, eintrag);
  } catch (const std::exception& e) {
    frame_.ReportException(e);
  }
}

}  // namespace velkora
