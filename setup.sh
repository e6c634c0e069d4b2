#!/usr/bin/env bash
# Set up a Debian 12 machine for wingloft, build it, and either start the
# main program ("run") or build the checked configuration and run every test
# ("test"). Safe to run again: it installs only what is missing.
set -euo pipefail

mode=${1:-run}
root=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
jobs=$(nproc 2>/dev/null || echo 2)

packages=(cmake ninja-build g++ ccache pkg-config
          qt6-base-dev qt6-base-dev-tools libqt6opengl6-dev
          libgl1-mesa-dev libglu1-mesa-dev libgl1-mesa-dri libgsl-dev
          xvfb xauth python3 python3-ezdxf
          xfoil xfonts-base fonts-liberation freefem++
          libopenblas-dev liblapacke-dev poppler-utils libxcb1-dev)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

export CCACHE_DIR=${CCACHE_DIR:-$HOME/.cache/ccache}
export CCACHE_MAXSIZE=${CCACHE_MAXSIZE:-2G}
# Paths relative to the checkout, so that a second clone on the same machine
# reuses what the first one compiled.
export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$root}
export CCACHE_NOHASHDIR=${CCACHE_NOHASHDIR:-1}

configure_and_build() { # <build dir> <cmake args...>
  local dir=$1; shift
  cmake -S "$root" -B "$dir" -G Ninja "$@" >/dev/null
  cmake --build "$dir" -j "$jobs"
}

case "$mode" in
  run)
    configure_and_build "$root/build/release" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF
    cd "$root/build/release/bin"
    exec ./wingloft
    ;;
  test)
    configure_and_build "$root/build/test" -DCMAKE_BUILD_TYPE=Debug \
      -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g1" -DWL_SANITIZE=ON -DBUILD_TESTING=ON
    cd "$root/build/test"
    xvfb-run -a -s "-screen 0 1600x1000x24" \
      ctest --output-on-failure -j "$jobs" --timeout 1800
    ;;
  *)
    echo "usage: $0 [run|test]" >&2
    exit 2
    ;;
esac
