# lit configuration of the host-profile tests: the installed tree with the
# real tools behind the driver.  A test that needs a tool the machine lacks
# is reported as unsupported, and the missing tools are named.
import os
import shutil

import lit.formats

config.name = "vrk-host-profile"
config.test_format = lit.formats.ShTest(execute_external=False)
config.suffixes = [".test"]
config.excludes = ["Inputs"]
config.test_source_root = os.path.dirname(__file__)
config.test_exec_root = os.path.join(config.vrk_obj_root, "host-profile")

root = config.vrk_host_root
if not config.vrk_host_installed:
    config.unsupported = True
    lit_config.note("host toolchain profile not installed by this build "
                    "(missing: %s); install clang, lld and binutils-aarch64-linux-gnu "
                    "and configure again" % (config.vrk_host_missing or "?"))

for name in ["LIBRARY_PATH", "SOURCE_DATE_EPOCH", "LANG", "LANGUAGE", "LC_ALL",
             "LC_MESSAGES", "COMPILER_PATH", "VRK_EXEC_PREFIX", "VRK_COLORS",
             "VRK_URLS", "TERM_URLS", "MAKEFLAGS", "VRK_HOST_LINKER"]:
    config.environment.pop(name, None)
path = config.environment.get("PATH", "")
config.environment["PATH"] = os.pathsep.join([config.vrk_tools_dir, path])

# The machine's tools the tests read results with, each a lit feature.
missing = []
for tool in ["qemu-aarch64", "llvm-readelf", "llvm-dwarfdump", "llvm-objdump", "ninja",
             "meson", "ccache", "distcc", "distccd"]:
    if shutil.which(tool, path=path):
        config.available_features.add(tool)
    else:
        missing.append(tool)
# Debian's 64-bit Arm C library for hosted programs (libc6-dev-arm64-cross).
arm64_libc = "/usr/aarch64-linux-gnu"
if os.path.isfile(os.path.join(arm64_libc, "lib", "libc.a")):
    config.available_features.add("arm64-libc")
else:
    missing.append("the 64-bit Arm C library (%s)" % arm64_libc)
if missing:
    lit_config.note("tests that need %s are unsupported: not installed "
                    "(apt-get install qemu-user llvm libc6-dev-arm64-cross ninja-build "
                    "meson ccache distcc)" % ", ".join(missing))

config.substitutions += [
    ("%vrkxx", os.path.join(root, "bin", "vrk++")),
    ("%vrk-ar", os.path.join(root, "bin", "vrk-ar")),
    ("%vrk-nm", os.path.join(root, "bin", "vrk-nm")),
    ("%vrk-ranlib", os.path.join(root, "bin", "vrk-ranlib")),
    ("%vrk", os.path.join(root, "bin", "vrk")),
    ("%status", config.vrk_run_status),
    ("%examples", config.vrk_examples_dir),
    ("%inputs", os.path.join(config.test_source_root, "Inputs")),
    ("%arm64-libc", arm64_libc),
    ("%cmake", config.vrk_cmake),
    ("%root", root),
    ("%path", path),
]
