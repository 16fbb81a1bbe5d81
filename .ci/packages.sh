# The Debian packages the build, the tests and the host toolchain profile
# need; sourced by .ci/run and tools/example.sh.  `install_missing_packages`
# installs only what the machine lacks, and nothing when all is there.

vrk_missing_packages=()
need_command() { command -v "$1" > /dev/null 2>&1 || vrk_missing_packages+=("$2"); }
need_package() { dpkg -s "$1" > /dev/null 2>&1 || vrk_missing_packages+=("$1"); }

need_command clang++ clang
need_command cmake cmake
need_command ninja ninja-build
need_command python3 python3
need_package libgtest-dev
need_package libbenchmark-dev
# The C library and LLVM's C++ runtime, linked statically into the programs.
need_package libc6-dev
need_package libc++-14-dev
need_package libc++abi-14-dev
need_package libunwind-14-dev
# clang's sanitizer and fuzzer runtimes: the asan build and its fuzz targets.
need_package libclang-rt-14-dev
# The test that no uninitialised byte reaches the exec report pipe.
need_command valgrind valgrind
if [[ ! -x /usr/lib/llvm-14/bin/FileCheck || ! -e /usr/lib/llvm-14/build/utils/lit/lit.py ]]; then
  vrk_missing_packages+=(llvm-14-tools)
fi
# Message catalogues (build), and what the tests of the completion script,
# the manual pages and the translations run.
need_command msgfmt gettext
need_package bash-completion
# The plan test validates -plan=json output against its JSON Schema.
need_package python3-jsonschema
need_command groff groff-base
need_command man man-db
# The host toolchain profile: the 64-bit Arm assembler and linker, ld.lld,
# qemu to run what it links, and llvm's readers to check the objects.
need_command aarch64-linux-gnu-as binutils-aarch64-linux-gnu
need_command ld.lld lld
need_command qemu-aarch64 qemu-user
need_command llvm-readelf llvm
need_command llvm-dwarfdump llvm
need_package libc6-dev-arm64-cross
# Build systems and compiler launchers tested in front of the drivers.
need_command meson meson
need_command ccache ccache
need_command distcc distcc

install_missing_packages() {
  ((${#vrk_missing_packages[@]})) || return 0
  local sudo=()
  [[ $(id -u) -eq 0 ]] || sudo=(sudo)
  echo "installing ${vrk_missing_packages[*]}"
  export DEBIAN_FRONTEND=noninteractive
  "${sudo[@]}" apt-get update -q < /dev/null
  "${sudo[@]}" apt-get install -y -q --no-install-recommends "${vrk_missing_packages[@]}" < /dev/null
}
