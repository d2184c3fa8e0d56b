#!/usr/bin/env bash
# Installs a build tree into a prefix outside the source tree, moves that
# prefix (the package files must follow it), then builds the consumer program
# against it twice and runs both:
#   - with the C compiler and pkg-config (C99, warnings as errors), and the
#     same source as C++;
#   - as a CMake project using find_package(F90Intrinsics) and F90::runtime;
# and checks that the installed headers declare every export and nothing
# else (tests/abi/check_headers.py).
# Also configures the source tree for a /usr prefix and checks that the
# libraries would go to the i386 multiarch folder.
#   tests/install/check_install.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "$1" && pwd)
source=$(cd "$2" && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/f90-install.XXXXXX")
trap 'rm -rf "$work"' EXIT

cmake --install "$build" --prefix "$work/staged" >/dev/null
mv "$work/staged" "$work/prefix"
prefix=$work/prefix
pcdir=$(dirname "$(find "$prefix" -name libf90intr.pc)")
libdir=$(dirname "$pcdir")

fail() { echo "install test: $*" >&2; exit 1; }

# The program must keep all three libraries even though it calls nothing in
# some of them directly: the others bind to them at load time.
needs_all() {
  local n
  n=$(readelf -d "$1" | grep -cE 'NEEDED.*\[libf90(elem|intr|rt)\.so\.0\]') || true
  [ "$n" -eq 3 ] || { readelf -d "$1" | grep NEEDED >&2; fail "$1 does not need all three libraries"; }
}

# The installed headers declare exactly what the version scripts export.
python3 "$source/tests/abi/check_headers.py" --include "$prefix/include" \
  --map "$source/libf90elem/libf90elem.map" --map "$source/libf90intr/libf90intr.map" \
  --map "$source/libf90rt/libf90rt.map"

export PKG_CONFIG_PATH=$pcdir
cflags=$(pkg-config --cflags libf90intr)
libs=$(pkg-config --libs libf90intr)
case "$libs" in *-lf90elem*-lf90rt*) ;; *) fail "pkg-config --libs libf90intr lacks the others: $libs" ;; esac
case "$libs" in *-m32*) ;; *) fail "pkg-config --libs lacks -m32: $libs" ;; esac
[ "$(pkg-config --variable=prefix libf90rt)" -ef "$prefix" ] || fail "pkg-config prefix does not follow the moved tree"

# shellcheck disable=SC2086
gcc -O2 -std=c99 -Wall -Wextra -pedantic-errors -Werror $cflags -c "$here/consumer/consumer.c" \
  -o "$work/consumer.o"
# Linked in a step of its own, from the Libs line alone.
# shellcheck disable=SC2086
gcc "$work/consumer.o" -o "$work/c_consumer" $libs
needs_all "$work/c_consumer"
LD_LIBRARY_PATH=$libdir "$work/c_consumer"

# shellcheck disable=SC2086
g++ -O2 -x c++ -std=c++11 -Wall -Wextra -pedantic-errors -Werror $cflags "$here/consumer/consumer.c" \
  -o "$work/cxx_consumer" $libs
LD_LIBRARY_PATH=$libdir "$work/cxx_consumer"

cmake -S "$here/consumer" -B "$work/cmake" -DCMAKE_PREFIX_PATH="$prefix" \
  -DCMAKE_TOOLCHAIN_FILE="$libdir/cmake/F90Intrinsics/i386-linux.cmake" >/dev/null
cmake --build "$work/cmake" >/dev/null
needs_all "$work/cmake/consumer"
"$work/cmake/consumer"
cmake -S "$source" -B "$work/usr" -DCMAKE_TOOLCHAIN_FILE="$source/cmake/i386-linux.cmake" \
  -DCMAKE_INSTALL_PREFIX=/usr -DF90_BUILD_TESTS=OFF -DF90_BUILD_BENCH=OFF \
  -DF90_BUILD_EXAMPLES=OFF >/dev/null
grep -qx 'CMAKE_INSTALL_LIBDIR:PATH=lib/i386-linux-gnu' "$work/usr/CMakeCache.txt" ||
  fail "a /usr prefix does not install to lib/i386-linux-gnu"
echo "install test: passed"
