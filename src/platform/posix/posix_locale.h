#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/locale.h"

namespace velkora::posix {

// The user's formats from the POSIX locale environment, read afresh on
// every call. Each category takes its locale name the way setlocale does:
// LC_ALL, else LC_NUMERIC (separators) or LC_TIME (date and time formats),
// else LANG, else "C". Mapping of a name:
// - "de" and "de_*" (any territory, codeset or modifier): the German formats
//   (dd.mm.yyyy, hh:nn:ss, decimal comma, thousands point), whether or not
//   that locale is installed;
// - "C", "POSIX", "C.*" and names the system does not know: the runtime's
//   defaults;
// - any other installed locale: its RADIXCHAR/THOUSEP and D_FMT/T_FMT,
//   month and weekday names (ABMON/MON/ABDAY/DAY), queried through a
//   private locale object (the process locale is never changed). strftime
//   fields map to the runtime letters (%d dd, %e d, %m mm, %b/%h mmm,
//   %B mmmm, %a ddd, %A dddd, %y yy, %Y yyyy, %H/%I hh, %M nn, %S ss, %D,
//   %F, %T, %R, %r expanded); %p and other fields are dropped, so 12-hour
//   formats read as 24-hour ones. A German LC_TIME gives German names. A multi-byte separator (e.g.
//   a narrow no-break space) becomes ' ' for thousands and keeps the default for the others.
class PosixLocale final : public Locale {
 public:
  using EnvLookup = std::function<std::optional<std::string>(const char* name)>;

  PosixLocale();  // reads the process environment
  explicit PosixLocale(EnvLookup env) : env_(std::move(env)) {}

  FormatSettings Formats() const override;

 private:
  std::string CategoryName(const char* category_variable) const;

  EnvLookup env_;
};

// strftime-style format to the runtime's format letters; exposed for tests.
std::string RuntimeFormatFromStrftime(std::string_view strftime_format);

}  // namespace velkora::posix
