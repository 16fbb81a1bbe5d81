// Extension suffixes and the "-mcpu=" rewriting.  The driver tests check
// the rewrite reaching the assembler (for native processors too) and the
// fatal error's text; the host detection tests the common suffixes.
#include "common/config/aarch64/aarch64-common.h"

#include "diagnostics/diagnostic.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

TEST(ParseExtensionList, AppliesClosuresInOrderAndStopsAtTheFirstBadItem) {
  // The closures of single items show in the rewrites below.
  aarch64_feature_flags flags = 0;
  EXPECT_EQ(parse_extension_list("", &flags, nullptr), AARCH64_PARSE_OK);
  EXPECT_EQ(flags, 0u);
  // Later items win over earlier ones.
  EXPECT_EQ(parse_extension_list("+crypto+noaes+sve2-bitperm", &flags, nullptr),
            AARCH64_PARSE_OK);
  EXPECT_EQ(flags, (aarch64_feature_flags{0x703} & ~aarch64_feature_flags{0x800500}) |
                       0x2204013);

  for (const char *text : {"+", "++crc", "+crc+", "+no", "+crc+no+lse"}) {
    std::string bad = "untouched";
    EXPECT_EQ(parse_extension_list(text, &flags, &bad), AARCH64_PARSE_MISSING_ARG) << text;
    EXPECT_EQ(bad, "untouched") << text;
  }
  // Unknown names are reported; items before the bad one are applied.
  // Neither prefixes nor case variants of a name are accepted.
  flags = 0;
  std::string bad;
  EXPECT_EQ(parse_extension_list("+crc+nofoo+lse", &flags, &bad), AARCH64_PARSE_INVALID_FEATURE);
  EXPECT_EQ(bad, "nofoo");
  EXPECT_EQ(flags, AARCH64_FL_CRC);
  EXPECT_EQ(parse_extension_list("+sve2-sm", &flags, &bad), AARCH64_PARSE_INVALID_FEATURE);
  EXPECT_EQ(bad, "sve2-sm");
  EXPECT_EQ(parse_extension_list("+CRC", &flags, nullptr), AARCH64_PARSE_INVALID_FEATURE);
  EXPECT_EQ(parse_extension_list("+crcx", &flags, nullptr), AARCH64_PARSE_INVALID_FEATURE);
}

TEST(ExtensionString, NamesTheFewestExtensionsAndMissingDefaultsOnce) {
  const aarch64_feature_flags v8a = 0x1000000003, a72 = 0x1000000007;
  const aarch64_feature_flags n1 = 0x70000080FF, v8r = 0x21F1800020EF;
  struct {
    aarch64_feature_flags isa, defaults;
    const char *want;
  } cases[] = {
      // crc is always explicit, except on armv8-r where it is named only
      // when new.
      {v8a, v8a, ""},
      {v8a | AARCH64_FL_CRC, v8a | AARCH64_FL_CRC, "+crc"},
      {v8r, v8r, ""},
      {v8r & ~AARCH64_FL_CRC, v8r, "+nocrc"},
      // aes alone is not crypto; sve2-bitperm covers sve2, sve and fp16.
      {v8a | AARCH64_FL_AES, v8a, "+aes"},
      {v8a | 0x2204013, v8a, "+sve2-bitperm"},
      // Missing defaults: nosimd only when fp stays.
      {AARCH64_FL_FP | AARCH64_FL_CRC, a72, "+crc+nosimd"},
      // Extensions the host cannot report are never named as absent.
      {n1 & ~AARCH64_FL_PROFILE, n1, "+crc"},
  };
  for (const auto &c : cases)
    EXPECT_EQ(extension_string_for_flags(c.isa, c.defaults), c.want) << std::hex << c.isa;
}

TEST(RewriteCpuName, CoresAndSuffixesBecomeArchitectures) {
  struct {
    const char *name, *want;
  } cases[] = {
      {"generic", "armv8-a"},
      {"cortex-a76", "armv8.2-a+crc+fp16+rcpc+dotprod"},
      {"thunderx3t110", "armv8.3-a+crc+aes+sha3+sm4+fp16fml+nofp16"},
      {"cortex-r82", "armv8-r"},
      {"cortex-a72+nofp", "armv8-a+crc+nofp"},
      {"cortex-a53+nocrc", "armv8-a"},
      {"cortex-a53+sve2", "armv8-a+crc+sve2"},
      // An unknown or missing name ends the list; what came before counts.
      {"cortex-a53+lse+foo+sve", "armv8-a+crc+lse"},
      {"cortex-a53+no", "armv8-a+crc"},
  };
  for (const auto &c : cases)
    EXPECT_EQ(rewrite_cpu_name(c.name), c.want) << c.name;

  // The spec function rewrites its last argument.
  const char *argv[] = {"cortex-a53", "cortex-a76+nodotprod"};
  const char *result = aarch64_rewrite_mcpu(2, argv);
  EXPECT_STREQ(result, "armv8.2-a+crc+fp16+rcpc");
  std::free(const_cast<char *>(result));
}

TEST(RewriteMcpuDeath, OnlyWholeKnownCoreNamesAreAccepted) {
  diagnostic_initialize("vrk");
  for (const char *name : {"cortex-a5", "+crc", "Cortex-A53"})
    EXPECT_EXIT(rewrite_cpu_name(name), ::testing::ExitedWithCode(1), "unknown value");
}

} // namespace
