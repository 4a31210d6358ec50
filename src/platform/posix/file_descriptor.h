#pragma once

#include <unistd.h>

#include <string_view>

#include "base/unique_any.h"

namespace velkora::posix {

// A file descriptor's owner. release() hands the descriptor back for an
// explicit close whose result matters.
using UniqueFd = UniqueAny<int, &::close, -1>;

// Writes all of `bytes` to `fd`, going on after partial writes and
// interruptions by signals. False on any other failure; how much was written
// then is unknown.
bool WriteAll(int fd, std::string_view bytes);

}  // namespace velkora::posix
