#pragma once

#include <string>

#include "base/variant.h"
#include "platform/locale.h"
#include "platform/message_box.h"
#include "platform/profile.h"
#include "shell/script_frame.h"

namespace velkora {

// The script functions on INI files the script names: typed single values
// and the three listings. Each writes its call line (and result line) to
// the frame it runs in, reads the locale's formats once per call, and
// catches its own errors: they are reported through the frame (log line and
// error box) and the function returns normally with an empty result. File
// names go to the profile functions unchanged.
class IniFunctions {
 public:
  IniFunctions(ScriptFrame& frame, Profile& profile, MessageBoxes& boxes, const Locale& locale)
      : frame_(frame), profile_(profile), boxes_(boxes), locale_(locale) {}

  // How `Wert` is stored and read is decided by its type code as the client
  // sent it (not by what a by-reference variant points at):
  //   VT_I2, VT_I4      Integer: decimal text; read back as a 32-bit integer
  //   VT_R4, VT_R8      Real: general number format with the locale's
  //                     decimal separator; read back as a double
  //   VT_BSTR, 0x400C   String: the value's text; read back as text
  //   VT_BOOL           Boolean: "1"/"0"; read back as an integer, non-zero
  //                     is True
  //   anything else     unklar: nothing is read or written; an error box
  //                     "IniWrite - Datentyp (<code>) unbekannt:" (or
  //                     "IniRead - ...") names the code, file, section and key
  // The call line ends in `,[<Wert as text>])`; a log line names the class.
  void IniWrite(const std::string& datei, const std::string& sektion, const std::string& eintrag,
                const Variant& wert);
  // `wert` is the default and decides the result's type; Empty for unklar
  // and after an error.
  Variant IniRead(const std::string& datei, const std::string& sektion, const std::string& eintrag,
                  const Variant& wert);
  // Removes the key; nothing is reported when file, section or key is missing.
  void IniDeleteKey(const std::string& datei, const std::string& sektion,
                    const std::string& eintrag);

  // The section names, the key names of a section, and the entries
  // key=value of a section whose value is not empty (one entry per name,
  // without regard to case: the later spelling, the value the profile
  // functions read for it), joined by `trenner`.
  std::string IniReadSections(const std::string& datei, const std::string& trenner);
  std::string IniReadSection(const std::string& datei, const std::string& sektion,
                             const std::string& trenner);
  std::string IniReadSectionValues(const std::string& ini_datei, const std::string& sektion,
                                   const std::string& trenner);

 private:
  ScriptFrame& frame_;
  Profile& profile_;
  MessageBoxes& boxes_;
  const Locale& locale_;
};

// The class of a value for the INI functions, by its type code.
enum class IniValueClass { kInteger, kReal, kString, kBoolean, kUnklar };
IniValueClass ClassOf(const Variant& wert);

// A value as text the way the INI functions show and store it: the
// platform's variant rules, with Empty and Null as the empty text. Raises
// VariantTypeError for values without a text form (arrays, objects).
std::string IniValueText(const Variant& wert, const FormatSettings& fs);

}  // namespace velkora
