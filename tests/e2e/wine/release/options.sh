# The start the release tests share: sourced with the test's default work
# folder in `work`; reads --build-dir and --work, sets here, root,
# build_dir, work and version, and sources the harness (lib.sh).
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../../../.." && pwd)
build_dir=$root/build/mingw64
work=$root/build/$work
while (($#)); do
  case $1 in
    --build-dir) build_dir=$(realpath -m "$2"); shift 2 ;;
    --work) work=$(realpath -m "$2"); shift 2 ;;
    *) echo "usage: $0 --build-dir <dir> [--work <dir>]" >&2; exit 64 ;;
  esac
done
version=$(sed -nE 's/^project\(velkora VERSION ([0-9.]+).*/\1/p' "$root/CMakeLists.txt")

# shellcheck source=../lib.sh
source "$here/../lib.sh"
