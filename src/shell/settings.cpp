#include "shell/settings.h"

#include <limits>
#include <optional>

#include "base/conversions.h"
#include "base/error.h"
#include "shell/ini_reader.h"

namespace velkora {
namespace {

enum class SettingType { kInteger, kBoolean, kText, kOther };

SettingType TypeOf(const Variant& v) {
  switch (v.Type()) {
    case kVtI2:
    case kVtI4:
    case kVtUi1: return SettingType::kInteger;
    case kVtBool: return SettingType::kBoolean;
    case kVtBstr: return SettingType::kText;
    default: return SettingType::kOther;
  }
}

int32_t IntegerOf(const Variant& v) {
  switch (v.Type()) {
    case kVtI2: return v.AsI2();
    case kVtUi1: return v.AsUi1();
    default: return v.AsI4();
  }
}

// An integer in the type of `like`; nullopt when it does not fit.
std::optional<Variant> IntegerLike(const Variant& like, int32_t value) {
  switch (like.Type()) {
    case kVtI2:
      if (value < std::numeric_limits<int16_t>::min() ||
          value > std::numeric_limits<int16_t>::max()) {
        return std::nullopt;
      }
      return Variant::I2(static_cast<int16_t>(value));
    case kVtUi1:
      if (value < 0 || value > 255) return std::nullopt;
      return Variant::Ui1(static_cast<uint8_t>(value));
    default: return Variant::I4(value);
  }
}

void ShowSettingsError(ShellContext& shell, const std::string& text) {
  shell.platform.Boxes().Show(text, "Fehler INI-Modul", BoxIcon::kError);
}

std::string TypeErrorText(std::string_view direction, std::string_view section,
                          std::string_view key) {
  std::string text = "Unbekannter Ini-Typ (";
  text += direction;
  text += "): ";
  text += section;
  text += ": ";
  text += key;
  return text;
}

}  // namespace

Variant ReadSetting(ShellContext& shell, std::string_view section, std::string_view key,
                    const Variant& default_value) {
  const Variant& def = default_value.Deref();
  const IniReader settings(shell.platform.IniFiles(), shell.settings_file);
  switch (TypeOf(def)) {
    case SettingType::kInteger: {
      // A stored value that does not fit the default's type counts as
      // unreadable, like any other bad number.
      const int32_t fallback = IntegerOf(def);
      std::optional<Variant> value = IntegerLike(def, settings.ReadInteger(section, key, fallback));
      return value ? *value : def;
    }
    case SettingType::kBoolean:
      return Variant::Bool(settings.ReadInteger(section, key, def.AsBool() ? 1 : 0) != 0);
    case SettingType::kText: return Variant::Text(settings.ReadString(section, key, def.AsText()));
    case SettingType::kOther: break;
  }
  ShowSettingsError(shell, TypeErrorText("Lesen", section, key));
  return def;
}

void WriteSetting(ShellContext& shell, std::string_view section, std::string_view key,
                  const Variant& value) {
  const Variant& v = value.Deref();
  std::string text;
  switch (TypeOf(v)) {
    case SettingType::kInteger: text = IntToStr(IntegerOf(v)); break;
    case SettingType::kBoolean: text = v.AsBool() ? "1" : "0"; break;
    case SettingType::kText: text = v.AsText(); break;
    case SettingType::kOther:
      ShowSettingsError(shell, TypeErrorText("Schreiben", section, key));
      return;
  }
  if (!shell.platform.IniFiles().WriteString(section, key, text, shell.settings_file)) {
    throw Error("nach " + shell.settings_file + " kann nicht geschrieben werden");
  }
}

const std::string& SettingsFileName(const ShellContext& shell) { return shell.settings_file; }

}  // namespace velkora
