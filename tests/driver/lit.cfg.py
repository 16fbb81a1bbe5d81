# lit configuration of the driver tests: every test runs the installed,
# relocated tree that the install-test-root fixture lays out, with the
# stand-in programs in place of the real toolchain.
import os
import shutil
import struct

import lit.formats

config.name = "vrk-driver"
config.test_format = lit.formats.ShTest(execute_external=False)
config.suffixes = [".test", ".c", ".cc"]
config.excludes = ["Inputs"]
config.test_source_root = os.path.dirname(__file__)
config.test_exec_root = os.path.join(config.vrk_obj_root, "driver")

root = config.vrk_test_root
libexec = os.path.join(root, "libexec", "vrk", config.vrk_target, config.vrk_version)
fakebin = os.path.join(root, "fakebin")

# The fixture copies the stand-ins in after a successful install.
if not os.path.isfile(os.path.join(libexec, "kfront")):
    lit_config.fatal("no test installation in %s: run the ctest fixture "
                     "install-test-root first (ctest -R driver-tests does)" % root)

# Only what the tests need from the caller's environment: no inherited
# search paths, locale or stand-in settings may change what the driver does.
for name in ["LIBRARY_PATH", "SOURCE_DATE_EPOCH", "LANG", "LANGUAGE", "LC_ALL",
             "LC_MESSAGES", "COMPILER_PATH", "VRK_EXEC_PREFIX", "VRK_COLORS",
             "VRK_URLS", "TERM_URLS", "MAKEFLAGS"]:
    config.environment.pop(name, None)
config.environment["PATH"] = os.pathsep.join(
    [config.vrk_tools_dir, config.environment.get("PATH", "")])

# Longer names first: a substitution is a regular expression applied in
# order, and %vrk is a prefix of the others.
config.substitutions += [
    ("%vrkxx", os.path.join(root, "bin", "vrk++")),
    ("%vrk-ar", os.path.join(root, "bin", "vrk-ar")),
    ("%vrk-nm", os.path.join(root, "bin", "vrk-nm")),
    ("%vrk-ranlib", os.path.join(root, "bin", "vrk-ranlib")),
    ("%vrk", os.path.join(root, "bin", "vrk")),
    ("%libexec", libexec),
    ("%fakepath", os.pathsep.join([fakebin, config.environment["PATH"]])),
    ("%fakebin", fakebin),
    ("%root", root),
    ("%target", config.vrk_target),
    ("%version", config.vrk_version),
    ("%status", config.vrk_run_status),
    ("%inputs", os.path.join(config.test_source_root, "Inputs")),
]


def needs_loader(path):
    """Whether the ELF program PATH has a program interpreter (is linked
    against shared libraries, which the loader must open)."""
    with open(path, "rb") as f:
        header = f.read(64)
        if header[:4] != b"\x7fELF" or header[4] != 2:
            return True
        phoff, = struct.unpack_from("<Q", header, 32)
        phentsize, phnum = struct.unpack_from("<HH", header, 54)
        for i in range(phnum):
            f.seek(phoff + i * phentsize)
            p_type, = struct.unpack("<I", f.read(4))
            if p_type == 3:  # PT_INTERP
                return True
    return False


# Features: a driver that starts without opening any library, and valgrind.
if not needs_loader(os.path.join(root, "bin", "vrk")):
    config.available_features.add("self-contained-driver")
if shutil.which("valgrind"):
    config.available_features.add("valgrind")
# A driver built with the sanitizers (which valgrind cannot run).
if getattr(config, "vrk_sanitize", "OFF").upper() in ("ON", "1", "TRUE", "YES"):
    config.available_features.add("sanitized")
