// ini_write_probe FILE SECTION KEY VALUE
// One profile write through IniFileProfile; exit code 0 when it succeeded,
// 1 when it was refused. The tests run it as an unprivileged user, because
// folder and file modes stop no write of root's.
#include "platform/posix/ini_file_profile.h"

int main(int argc, char** argv) {
  if (argc != 5) return 2;
  velkora::posix::IniFileProfile profile;
  return profile.WriteString(argv[2], std::string_view(argv[3]), std::string_view(argv[4]), argv[1])
             ? 0
             : 1;
}
