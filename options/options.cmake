# The option table is generated at build time from the option description
# sources in this directory.  This file adds the generated sources to
# VRK_CORE_SOURCES and names the targets vrkcore must wait for in
# VRK_GENERATED_DEPENDS.

# The generator is a host tool built from the standard library alone.
add_executable(vrk-optgen
  ${PROJECT_SOURCE_DIR}/options/optgen/optgen.cc
  ${PROJECT_SOURCE_DIR}/options/optgen/check.cc
  ${PROJECT_SOURCE_DIR}/options/optgen/write.cc)
set_target_properties(vrk-optgen PROPERTIES
  RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/tools)

file(GLOB VRK_OPTION_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/options/*.opt)
list(SORT VRK_OPTION_SOURCES)

set(VRK_OPTION_GEN_DIR ${PROJECT_BINARY_DIR}/generated/options)
file(MAKE_DIRECTORY ${VRK_OPTION_GEN_DIR})
set(VRK_OPTION_GEN_FILES
  ${VRK_OPTION_GEN_DIR}/option-index.inc
  ${VRK_OPTION_GEN_DIR}/option-values.inc
  ${VRK_OPTION_GEN_DIR}/option-data.cc)

# optgen rewrites a file only when its content changes; the stamp records
# that the generator ran.  A failing generator fails the build.
add_custom_command(
  OUTPUT ${VRK_OPTION_GEN_DIR}/option-table.stamp
  BYPRODUCTS ${VRK_OPTION_GEN_FILES}
  COMMAND vrk-optgen ${VRK_OPTION_GEN_DIR} ${VRK_OPTION_SOURCES}
  COMMAND ${CMAKE_COMMAND} -E touch ${VRK_OPTION_GEN_DIR}/option-table.stamp
  DEPENDS vrk-optgen ${VRK_OPTION_SOURCES}
  WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
  COMMENT "Generating the option table"
  VERBATIM)
add_custom_target(vrk_option_table
  DEPENDS ${VRK_OPTION_GEN_DIR}/option-table.stamp)

# Lets the option tests run the generator on sources of their own.
file(GENERATE OUTPUT ${VRK_OPTION_GEN_DIR}/optgen-path.inc
  CONTENT "#define VRK_OPTGEN_PATH \"$<TARGET_FILE:vrk-optgen>\"\n")

list(APPEND VRK_CORE_SOURCES ${VRK_OPTION_GEN_DIR}/option-data.cc)
set(VRK_GENERATED_DEPENDS vrk_option_table)

