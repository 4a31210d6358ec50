#include "platform/posix/posix_locale.h"

#include <langinfo.h>
#include <locale.h>

#include <cstdlib>
#include <memory>

#include "base/ascii.h"
#include "base/unique_any.h"

namespace velkora::posix {
namespace {

using UniqueLocale = UniqueAny<locale_t, &::freelocale>;

bool IsGermanName(std::string_view name) {
  return name == "de" || (name.size() > 2 && name.substr(0, 2) == "de" &&
                          (name[2] == '_' || name[2] == '.' || name[2] == '@'));
}

bool IsDefaultName(std::string_view name) {
  return name.empty() || name == "C" || name == "POSIX" || name.substr(0, 2) == "C.";
}

UniqueLocale OpenLocale(int mask, const std::string& name) {
  return UniqueLocale(::newlocale(mask, name.c_str(), static_cast<locale_t>(nullptr)));
}

bool IsFormatLetter(char c) {
  return c == 'd' || c == 'm' || c == 'y' || c == 'h' || c == 'n' || c == 's';
}

// The first character between fields, e.g. '.' in "dd.mm.yyyy".
char SeparatorOf(std::string_view runtime_format, char fallback) {
  for (const char c : runtime_format) {
    if (!IsFormatLetter(c) && c != ' ') return c;
  }
  return fallback;
}

// The locale's month and weekday names; an empty one keeps the default.
void ReadNames(locale_t loc, FormatSettings& fs) {
  auto take = [loc](nl_item item, std::string& name) {
    const char* text = ::nl_langinfo_l(item, loc);
    if (text != nullptr && *text != '\0') name = text;
  };
  for (int i = 0; i < 12; ++i) {
    take(ABMON_1 + i, fs.short_month_names[static_cast<std::size_t>(i)]);
    take(MON_1 + i, fs.long_month_names[static_cast<std::size_t>(i)]);
  }
  for (int i = 0; i < 7; ++i) {  // both lists start with Sunday
    take(ABDAY_1 + i, fs.short_day_names[static_cast<std::size_t>(i)]);
    take(DAY_1 + i, fs.long_day_names[static_cast<std::size_t>(i)]);
  }
}

}  // namespace

std::string RuntimeFormatFromStrftime(std::string_view f) {
  std::string out;
  for (std::size_t i = 0; i < f.size(); ++i) {
    if (f[i] != '%') {
      out.push_back(f[i]);
      continue;
    }
    if (++i >= f.size()) break;
    char field = f[i];
    // Flags and the E/O modifiers change spelling, not the field.
    while ((field == 'E' || field == 'O' || field == '-' || field == '_' || field == '0' ||
            field == '^' || field == '#') &&
           i + 1 < f.size()) {
      field = f[++i];
    }
    switch (field) {
      case 'd': out += "dd"; break;
      case 'a': out += "ddd"; break;
      case 'A': out += "dddd"; break;
      case 'b':
      case 'h': out += "mmm"; break;
      case 'B': out += "mmmm"; break;
      case 'e': out += "d"; break;
      case 'm': out += "mm"; break;
      case 'y': out += "yy"; break;
      case 'Y': out += "yyyy"; break;
      case 'H':
      case 'I': out += "hh"; break;
      case 'k':
      case 'l': out += "h"; break;
      case 'M': out += "nn"; break;
      case 'S': out += "ss"; break;
      case 'D': out += "mm/dd/yy"; break;
      case 'F': out += "yyyy-mm-dd"; break;
      case 'T':
      case 'r': out += "hh:nn:ss"; break;
      case 'R': out += "hh:nn"; break;
      case '%': out += "%"; break;
      default: break;  // %p, %Z and the like have no runtime letter
    }
  }
  // Dropped fields leave stray blanks behind ("%I:%M:%S %p").
  return std::string(TrimBlanks(out, kSpaceOnly));
}

PosixLocale::PosixLocale()
    : env_([](const char* name) -> std::optional<std::string> {
        const char* value = std::getenv(name);
        if (value == nullptr) return std::nullopt;
        return std::string(value);
      }) {}

std::string PosixLocale::CategoryName(const char* category_variable) const {
  for (const char* variable : {"LC_ALL", category_variable, "LANG"}) {
    if (auto value = env_(variable); value && !value->empty()) return *value;
  }
  return "C";
}

FormatSettings PosixLocale::Formats() const {
  FormatSettings result;
  const FormatSettings german = FormatSettings::German();

  const std::string numeric = CategoryName("LC_NUMERIC");
  if (IsGermanName(numeric)) {
    result.decimal_separator = german.decimal_separator;
    result.thousand_separator = german.thousand_separator;
  } else if (!IsDefaultName(numeric)) {
    if (UniqueLocale loc = OpenLocale(LC_NUMERIC_MASK, numeric)) {
      const std::string_view radix = ::nl_langinfo_l(RADIXCHAR, loc.get());
      const std::string_view thousands = ::nl_langinfo_l(THOUSEP, loc.get());
      if (radix.size() == 1) result.decimal_separator = radix.front();
      if (thousands.size() == 1) {
        result.thousand_separator = thousands.front();
      } else if (thousands.size() > 1) {
        result.thousand_separator = ' ';
      }
    }
  }

  const std::string time = CategoryName("LC_TIME");
  if (IsGermanName(time)) {
    result.date_separator = german.date_separator;
    result.time_separator = german.time_separator;
    result.short_date_format = german.short_date_format;
    result.long_time_format = german.long_time_format;
    result.short_month_names = german.short_month_names;
    result.long_month_names = german.long_month_names;
    result.short_day_names = german.short_day_names;
    result.long_day_names = german.long_day_names;
  } else if (!IsDefaultName(time)) {
    if (UniqueLocale loc = OpenLocale(LC_TIME_MASK, time)) {
      ReadNames(loc.get(), result);
      const std::string date_format = RuntimeFormatFromStrftime(::nl_langinfo_l(D_FMT, loc.get()));
      const std::string time_format = RuntimeFormatFromStrftime(::nl_langinfo_l(T_FMT, loc.get()));
      if (!date_format.empty()) {
        result.short_date_format = date_format;
        result.date_separator = SeparatorOf(date_format, result.date_separator);
      }
      if (!time_format.empty()) {
        result.long_time_format = time_format;
        result.time_separator = SeparatorOf(time_format, result.time_separator);
      }
    }
  }
  return result;
}

}  // namespace velkora::posix
