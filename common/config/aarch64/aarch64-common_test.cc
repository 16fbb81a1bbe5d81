// Extension suffixes and the "-mcpu=" rewriting.
#include "common/config/aarch64/aarch64-common.h"

#include "diagnostics/diagnostic.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

TEST(ParseExtensionList, AppliesClosuresInOrder) {
  aarch64_feature_flags flags = 0;
  EXPECT_EQ(parse_extension_list("", &flags, nullptr), AARCH64_PARSE_OK);
  EXPECT_EQ(flags, 0u);

  // Turning sve2 on brings sve, fp16, simd and fp along.
  EXPECT_EQ(parse_extension_list("+sve2", &flags, nullptr), AARCH64_PARSE_OK);
  EXPECT_EQ(flags, aarch64_feature_flags{0x204013});

  // Turning fp off takes everything that needs it away; crc stays.
  flags = 0x1000000007 | 0x204013;
  EXPECT_EQ(parse_extension_list("+nofp", &flags, nullptr), AARCH64_PARSE_OK);
  EXPECT_EQ(flags, aarch64_feature_flags{0x1000000004});

  // Later items win over earlier ones.
  flags = 0;
  EXPECT_EQ(parse_extension_list("+crypto+noaes+sve2-bitperm", &flags, nullptr),
            AARCH64_PARSE_OK);
  EXPECT_EQ(flags, (aarch64_feature_flags{0x703} & ~aarch64_feature_flags{0x800500}) |
                       0x2204013);
}

TEST(ParseExtensionList, MissingNames) {
  for (const char *text : {"+", "++crc", "+crc+", "+no", "+crc+no+lse"}) {
    aarch64_feature_flags flags = 0;
    std::string bad = "untouched";
    EXPECT_EQ(parse_extension_list(text, &flags, &bad), AARCH64_PARSE_MISSING_ARG) << text;
    EXPECT_EQ(bad, "untouched") << text;
  }
}

TEST(ParseExtensionList, UnknownNamesStopParsingAndAreReported) {
  aarch64_feature_flags flags = 0;
  std::string bad;
  EXPECT_EQ(parse_extension_list("+crc+nofoo+lse", &flags, &bad), AARCH64_PARSE_INVALID_FEATURE);
  EXPECT_EQ(bad, "nofoo");
  // Items before the bad one are applied, later ones are not.
  EXPECT_EQ(flags, AARCH64_FL_CRC);

  // Names match exactly: neither prefixes nor case variants are accepted.
  EXPECT_EQ(parse_extension_list("+sve2-sm", &flags, &bad), AARCH64_PARSE_INVALID_FEATURE);
  EXPECT_EQ(bad, "sve2-sm");
  EXPECT_EQ(parse_extension_list("+CRC", &flags, nullptr), AARCH64_PARSE_INVALID_FEATURE);
  EXPECT_EQ(parse_extension_list("+crcx", &flags, nullptr), AARCH64_PARSE_INVALID_FEATURE);
}

TEST(ExtensionString, NamesTheFewestExtensions) {
  const aarch64_feature_flags v8a = 0x1000000003;
  // Nothing beyond the defaults but crc, which is always explicit.
  EXPECT_EQ(extension_string_for_flags(v8a, v8a), "");
  EXPECT_EQ(extension_string_for_flags(v8a | AARCH64_FL_CRC, v8a), "+crc");
  EXPECT_EQ(extension_string_for_flags(v8a | AARCH64_FL_CRC, v8a | AARCH64_FL_CRC), "+crc");

  // aes and sha2 together are named as crypto, in table order.
  EXPECT_EQ(extension_string_for_flags(v8a | 0x707, v8a), "+crc+crypto");
  EXPECT_EQ(extension_string_for_flags(v8a | AARCH64_FL_AES, v8a), "+aes");

  // sve2-bitperm covers sve2, sve and fp16.
  EXPECT_EQ(extension_string_for_flags(v8a | 0x2204013, v8a), "+sve2-bitperm");
}

TEST(ExtensionString, ReportsMissingDefaultsOnce) {
  const aarch64_feature_flags a72 = 0x1000000007;
  // nofp already removes simd.
  EXPECT_EQ(extension_string_for_flags(0, a72), "+nofp+nocrc");
  EXPECT_EQ(extension_string_for_flags(AARCH64_FL_FP | AARCH64_FL_CRC, a72), "+crc+nosimd");

  // Extensions the host cannot report are never named as absent.
  const aarch64_feature_flags n1 = 0x70000080FF;
  EXPECT_EQ(extension_string_for_flags(n1 & ~AARCH64_FL_PROFILE, n1), "+crc");
}

TEST(ExtensionString, Armv8rNamesCrcOnlyWhenNew) {
  const aarch64_feature_flags v8r = 0x21F1800020EF;
  EXPECT_EQ(extension_string_for_flags(v8r, v8r), "");
  EXPECT_EQ(extension_string_for_flags(v8r & ~AARCH64_FL_CRC, v8r), "+nocrc");
}

TEST(RewriteCpuName, CoresBecomeArchitectures) {
  EXPECT_EQ(rewrite_cpu_name("cortex-a53"), "armv8-a+crc");
  EXPECT_EQ(rewrite_cpu_name("cortex-a53+crc"), "armv8-a+crc");
  EXPECT_EQ(rewrite_cpu_name("generic"), "armv8-a");
  EXPECT_EQ(rewrite_cpu_name("generic+crc"), "armv8-a+crc");
  EXPECT_EQ(rewrite_cpu_name("cortex-a72+crypto"), "armv8-a+crc+crypto");
  EXPECT_EQ(rewrite_cpu_name("cortex-a76"), "armv8.2-a+crc+fp16+rcpc+dotprod");
  EXPECT_EQ(rewrite_cpu_name("cortex-a57.cortex-a53"), "armv8-a+crc");
  EXPECT_EQ(rewrite_cpu_name("thunderx3t110"), "armv8.3-a+crc+aes+sha3+sm4+fp16fml+nofp16");
  EXPECT_EQ(rewrite_cpu_name("neoverse-n2"),
            "armv9-a+crc+profile+rng+memtag+sve2-bitperm+i8mm+bf16");
  EXPECT_EQ(rewrite_cpu_name("cortex-r82"), "armv8-r");
}

TEST(RewriteCpuName, SuffixRules) {
  EXPECT_EQ(rewrite_cpu_name("cortex-a72+nofp"), "armv8-a+crc+nofp");
  EXPECT_EQ(rewrite_cpu_name("cortex-a53+nocrc"), "armv8-a");
  EXPECT_EQ(rewrite_cpu_name("cortex-a53+sve2"), "armv8-a+crc+sve2");
  // An unknown suffix ends the list; what came before it still counts.
  EXPECT_EQ(rewrite_cpu_name("cortex-a53+nofoo"), "armv8-a+crc");
  EXPECT_EQ(rewrite_cpu_name("cortex-a53+lse+foo+sve"), "armv8-a+crc+lse");
  EXPECT_EQ(rewrite_cpu_name("cortex-a53+"), "armv8-a+crc");
  EXPECT_EQ(rewrite_cpu_name("cortex-a53+no"), "armv8-a+crc");
}

TEST(RewriteMcpu, LastArgumentCounts) {
  const char *argv[] = {"cortex-a53", "cortex-a76+nodotprod"};
  const char *result = aarch64_rewrite_mcpu(2, argv);
  ASSERT_NE(result, nullptr);
  EXPECT_STREQ(result, "armv8.2-a+crc+fp16+rcpc");
  std::free(const_cast<char *>(result));
  result = aarch64_rewrite_mcpu(1, argv);
  EXPECT_STREQ(result, "armv8-a+crc");
  std::free(const_cast<char *>(result));
}

class RewriteMcpuDeath : public ::testing::Test {
protected:
  void SetUp() override { diagnostic_initialize("vrk"); }
};

TEST_F(RewriteMcpuDeath, UnknownCoreIsFatal) {
  const char *pattern =
      "vrk: fatal error: unknown value .*foo\\+crc.* for .*-mcpu.*\ncompilation terminated\\.";
  const char *argv[] = {"foo+crc"};
  EXPECT_EXIT(aarch64_rewrite_mcpu(1, argv), ::testing::ExitedWithCode(1), pattern);
  // Only whole names count.
  EXPECT_EXIT(rewrite_cpu_name("cortex-a5"), ::testing::ExitedWithCode(1), "unknown value");
  EXPECT_EXIT(rewrite_cpu_name("+crc"), ::testing::ExitedWithCode(1), "unknown value");
  EXPECT_EXIT(rewrite_cpu_name("Cortex-A53"), ::testing::ExitedWithCode(1), "unknown value");
}

TEST_F(RewriteMcpuDeath, NoArgumentsIsAnInternalError) {
  const char *argv[] = {nullptr};
  EXPECT_EXIT(aarch64_rewrite_mcpu(0, argv), ::testing::ExitedWithCode(4), "");
}

} // namespace
