# lit configuration of the driver tests: every test runs the installed,
# relocated tree that the install-test-root fixture lays out, with the
# stand-in programs in place of the real toolchain.
import locale
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
             "VRK_URLS", "TERM_URLS", "MAKEFLAGS", "MANPATH", "MANWIDTH",
             "XDG_DATA_DIRS", "LOCPATH"]:
    config.environment.pop(name, None)
config.environment["PATH"] = os.pathsep.join(
    [config.vrk_tools_dir, config.environment.get("PATH", "")])

# What the tests of the installed extras (completion, manual pages,
# translations) need from the machine; without it they are unsupported.
def machine_tool(name):
    return shutil.which(name, path=config.environment["PATH"])

def locale_exists(name):
    saved = locale.setlocale(locale.LC_ALL)
    try:
        locale.setlocale(locale.LC_ALL, name)
        return True
    except locale.Error:
        return False
    finally:
        locale.setlocale(locale.LC_ALL, saved)

for tool in ["bash", "groff", "man"]:
    if machine_tool(tool):
        config.available_features.add(tool)
        config.substitutions.append(("%" + tool + "\\b", machine_tool(tool)))
if os.path.isfile("/usr/share/bash-completion/bash_completion"):
    config.available_features.add("bash-completion")
# glibc's catalogue lookup honours LANGUAGE in any locale but "C" and
# "POSIX"; C.UTF-8 needs nothing installed beyond the C library.
if locale_exists("C.UTF-8"):
    config.available_features.add("c-utf8-locale")
if machine_tool("localedef") and os.path.isdir("/usr/share/i18n/locales"):
    config.available_features.add("localedef")

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
    ("%tools", os.path.join(os.path.dirname(os.path.dirname(config.test_source_root)), "tools")),
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
