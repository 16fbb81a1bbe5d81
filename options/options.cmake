# The option table is generated at build time from the option description
# sources in this directory.  This file adds the generated sources to
# VRK_CORE_SOURCES and names the targets vrkcore must wait for in
# VRK_GENERATED_DEPENDS.
set(VRK_GENERATED_DEPENDS)
