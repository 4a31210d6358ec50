#pragma once

#include <string>
#include <string_view>

#include "platform/locale.h"

namespace velkora::win32 {

// The formats of the user's default locale (GetLocaleInfoA), month and
// weekday names included, read anew on every call so that a change in the
// control panel applies at once.
class Win32Locale final : public Locale {
 public:
  FormatSettings Formats() const override;
};

// The system's pictures use M for the month and m for the minute, H for
// 24-hour and h for 12-hour clocks, t for the AM/PM marker; the runtime's
// pictures use m for the month, n for the minute, h for the hour in both
// clocks (the 12-hour clock is chosen by "ampm"). Quoted text is copied
// unchanged. "dd.MM.yyyy" gives "dd.mm.yyyy", "HH:mm:ss" gives "hh:nn:ss";
// "ddd"/"dddd" and "MMM"/"MMMM" stay names ("ddd"/"dddd", "mmm"/"mmmm").
std::string DatePictureFromSystem(std::string_view picture);
std::string TimePictureFromSystem(std::string_view picture);

}  // namespace velkora::win32
