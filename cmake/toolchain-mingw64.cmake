# Cross build for 64-bit Windows with Debian's MinGW-w64 (posix thread model:
# the win32 model has no std::thread/std::mutex, which GoogleTest needs).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(VELKORA_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${VELKORA_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VELKORA_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${VELKORA_MINGW_TRIPLE}-windres)
set(CMAKE_AR ${VELKORA_MINGW_TRIPLE}-gcc-ar-posix CACHE FILEPATH "")
set(CMAKE_RANLIB ${VELKORA_MINGW_TRIPLE}-gcc-ranlib-posix CACHE FILEPATH "")

set(CMAKE_FIND_ROOT_PATH /usr/${VELKORA_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# GCC 12 reports false -Wrestrict overlaps inside libstdc++'s std::string at
# -O2 and above (GCC bug 105329); with -Werror that would fail the build.
set(CMAKE_CXX_FLAGS_INIT "-Wno-restrict")

# Sources are UTF-8; the server's 8-bit text on Windows is the ANSI code page.
# Narrow literals ("Ungültige Variant-Typumwandlung") are stored in code page
# 1252, the ANSI code page of the German and western European systems.
string(APPEND CMAKE_CXX_FLAGS_INIT " -finput-charset=UTF-8 -fexec-charset=CP1252")
set(CMAKE_C_FLAGS_INIT "-finput-charset=UTF-8 -fexec-charset=CP1252")

# One self-contained executable per target: the C and C++ runtimes and
# winpthread are linked in, so only system DLLs are imported.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Test executables run under Wine, in a prefix private to this build tree so
# that parallel builds and the user's own ~/.wine never meet.
if(NOT CMAKE_CROSSCOMPILING_EMULATOR AND EXISTS ${CMAKE_CURRENT_LIST_DIR}/wine-run.sh)
  set(CMAKE_CROSSCOMPILING_EMULATOR
      ${CMAKE_CURRENT_LIST_DIR}/wine-run.sh;${CMAKE_BINARY_DIR}/wineprefix)
endif()

# PCRE2 cross-built by scripts/build-windows.sh; its install tree is searched
# like a part of the target system.
if(PCRE2_ROOT)
  list(APPEND CMAKE_FIND_ROOT_PATH ${PCRE2_ROOT})
endif()
