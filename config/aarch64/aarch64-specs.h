// Spec texts of the 64-bit Arm target that the spec lists build on: the
// self spec that turns "native" processor options into detected ones, and
// the assembler's processor spec that hands "-mcpu=" on as "-march=".
#ifndef VRK_CONFIG_AARCH64_AARCH64_SPECS_H
#define VRK_CONFIG_AARCH64_AARCH64_SPECS_H

// Driver self spec: default endianness and ABI, and the removal of
// -march=native, -mcpu=native and -mtune=native in favour of what
// "local_cpu_detect" finds (its "arch" answer when -mcpu= or -mtune= is
// also given, so that the processor is not named twice).
inline constexpr const char *aarch64_driver_self_spec =
    " %{!mbig-endian:%{!mlittle-endian:-mlittle-endian}} %{!mabi=*:-mabi=lp64} %{march=native:%<march=native %:local_cpu_detect(%{mcpu=*|mtune=*:arch;:cpu})} %{mcpu=native:%<mcpu=native %:local_cpu_detect(cpu)} %{mtune=native:%<mtune=native %:local_cpu_detect(tune)}";

// Value of the named spec "asm_cpu_spec": the last -mcpu= value rewritten
// into an architecture with extension suffixes ("rewrite_mcpu").
inline constexpr const char *aarch64_asm_cpu_spec = " %{mcpu=*:-march=%:rewrite_mcpu(%{mcpu=*:%*})}";

#endif
