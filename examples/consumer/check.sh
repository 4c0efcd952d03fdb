#!/usr/bin/env bash
# Installs the build in $1 under a scratch prefix, then builds and runs the consumer against the
# installed tree twice: through the CMake package and through pkg-config.
set -euo pipefail
build=$1
here=$(cd "$(dirname "$0")" && pwd)
work=$build/consumer-check
rm -rf "$work"
cmake --install "$build" --prefix "$work/prefix" >/dev/null
test -x "$work/prefix/bin/quorvel"
"$work/prefix/bin/quorvel" --version
soname=$(objdump -p "$work"/prefix/lib*/libquorvel.so.5.24 | awk '/SONAME/ {print $2}')
[ "$soname" = libquorvel.so.5 ] || { echo "soname is '$soname'"; exit 1; }

cmake -S "$here" -B "$work/cmake" -G Ninja -DCMAKE_PREFIX_PATH="$work/prefix" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$work/cmake" >/dev/null
"$work/cmake/consumer"
"$work/cmake/c_consumer"

export PKG_CONFIG_PATH=$(echo "$work"/prefix/lib*/pkgconfig)
libdir=$(pkg-config --variable=libdir quorvel)
c++ -std=c++20 "$here/main.cpp" -o "$work/pc_consumer" $(pkg-config --cflags --libs quorvel) -Wl,-rpath,"$libdir"
cc -std=c99 "$here/c_main.c" -o "$work/pc_c_consumer" $(pkg-config --cflags --libs quorvel) -Wl,-rpath,"$libdir"
"$work/pc_consumer"
"$work/pc_c_consumer"

# The Python module, when it was built, imports from the installed tree with the installed library.
site=$work/prefix/lib/python3/dist-packages
if compgen -G "$site/quorvel*.so" >/dev/null; then
  PYTHONPATH=$site /usr/bin/python3 - "$work/prefix" <<'EOF'
import os, sys
import quorvel
prefix = os.path.realpath(sys.argv[1])
assert quorvel.create("Quorvel.ArrayList_Long").Count == 0
loaded = {line.split()[-1] for line in open("/proc/self/maps") if "libquorvel.so" in line}
assert loaded and all(os.path.realpath(f).startswith(prefix) for f in loaded), loaded
assert os.path.realpath(quorvel.__file__).startswith(prefix), quorvel.__file__
EOF
  echo "consumer: the Python module imported from the installed tree"
fi
echo "consumer: both ways built and ran"
