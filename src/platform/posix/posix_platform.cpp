#include "platform/posix/posix_platform.h"

namespace velkora::posix {
namespace {

std::unique_ptr<Locale> MakeLocale(const PosixPlatform::Options& options) {
  if (options.german_formats)
    return std::make_unique<portable::FixedLocale>(FormatSettings::German());
  return std::make_unique<PosixLocale>(options.env);
}

}  // namespace

PosixPlatform::PosixPlatform(Options options)
    : locale_(MakeLocale(options)), boxes_(options.box_stream) {
  profile_.SetFolderForRelativeNames(std::move(options.ini_folder));
}

}  // namespace velkora::posix
