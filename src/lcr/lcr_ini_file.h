#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "shell/ini_reader.h"

namespace velkora {

// One of the tariff engine's INI files (the settings, TK32.INI, a tariff
// file), read key by key through the server's reader, with the numbered
// key lists the tariff files are made of.
class LcrIniFile : public IniReader {
 public:
  using IniReader::IniReader;

  // The numbers k from `first` to `last`, rising, for which the section has
  // a key named `prefix` followed by k in decimal without leading zeros
  // (letter case ignored, as in every lookup). Reading these keys gives the
  // same values as reading every key from prefix+first to prefix+last, but
  // costs one read per key that exists, however large `last` is.
  std::vector<int32_t> NumberedKeys(std::string_view section, std::string_view prefix,
                                    int32_t first, int32_t last) const;
};

}  // namespace velkora
