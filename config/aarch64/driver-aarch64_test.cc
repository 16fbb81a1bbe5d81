// Host detection against processor descriptions written to a temporary
// file and named through VRK_CPUINFO.
#include "config/aarch64/driver-aarch64.h"

#include "diagnostics/diagnostic.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <string>
#include <unistd.h>

namespace {

// A single-core description in the usual layout.
std::string core_block(const char *implementer, const char *variant, const char *part,
                       const char *features) {
  std::string text = "processor\t: 0\nBogoMIPS\t: 100.00\n";
  if (features != nullptr)
    text += std::string("Features\t: ") + features + "\n";
  text += std::string("CPU implementer\t: ") + implementer + "\n";
  text += "CPU architecture: 8\n";
  text += std::string("CPU variant\t: ") + variant + "\n";
  text += std::string("CPU part\t: ") + part + "\n";
  text += "CPU revision\t: 2\n\n";
  return text;
}

constexpr const char *a72_features = "fp asimd evtstrm aes pmull sha1 sha2 crc32 cpuid";
constexpr const char *a76_features =
    "fp asimd evtstrm aes pmull sha1 sha2 crc32 atomics fphp asimdhp cpuid asimdrdm lrcpc "
    "dcpop asimddp";

class HostDetect : public ::testing::Test {
protected:
  void SetUp() override {
    char pattern[] = "/tmp/vrk-cpuinfo-XXXXXX";
    int fd = mkstemp(pattern);
    ASSERT_GE(fd, 0);
    close(fd);
    path_ = pattern;
    setenv("VRK_CPUINFO", path_.c_str(), 1);
  }
  void TearDown() override {
    unsetenv("VRK_CPUINFO");
    std::remove(path_.c_str());
  }

  void write(const std::string &text) {
    std::ofstream out(path_, std::ios::binary | std::ios::trunc);
    out << text;
  }

  // The answer to one query, nullopt for none.
  static std::optional<std::string> ask(const char *query) {
    const char *argv[] = {query, nullptr};
    const char *answer = host_detect_local_cpu(1, argv);
    if (answer == nullptr)
      return std::nullopt;
    std::string copy(answer);
    std::free(const_cast<char *>(answer));
    return copy;
  }

  std::string path_;
};

TEST_F(HostDetect, CortexA72WithCryptoAnswersAllThreeQueries) {
  write(core_block("0x41", "0x0", "0xd08", a72_features));
  EXPECT_EQ(ask("cpu"), "-mcpu=cortex-a72+crc+crypto");
  EXPECT_EQ(ask("tune"), "-mtune=cortex-a72");
  EXPECT_EQ(ask("arch"), "-march=armv8-a+crc+crypto");
}

TEST_F(HostDetect, MissingFeatureLineReportsEveryDetectableDefaultAbsent) {
  write(core_block("0x41", "0x0", "0xd08", nullptr));
  // "+nofp" already takes simd away, so no "+nosimd" follows.
  EXPECT_EQ(ask("cpu"), "-mcpu=cortex-a72+nofp+nocrc");
  EXPECT_EQ(ask("tune"), "-mtune=cortex-a72");
}

TEST_F(HostDetect, RealMachines) {
  // Four Cortex-A53 cores without the crypto unit (a small board computer).
  std::string quad;
  for (int i = 0; i < 4; ++i)
    quad += core_block("0x41", "0x0", "0xd03", "fp asimd evtstrm crc32 cpuid");
  write(quad);
  EXPECT_EQ(ask("cpu"), "-mcpu=cortex-a53+crc");
  EXPECT_EQ(ask("arch"), "-march=armv8-a+crc");

  write(core_block("0x41", "0x1", "0xd07", "fp asimd evtstrm aes pmull sha1 sha2 crc32"));
  EXPECT_EQ(ask("cpu"), "-mcpu=cortex-a57+crc+crypto");

  write(core_block("0x41", "0x4", "0xd0b", a76_features));
  EXPECT_EQ(ask("cpu"), "-mcpu=cortex-a76+crc+crypto");
  // Against the bare architecture every extension beyond it is named.
  EXPECT_EQ(ask("arch"), "-march=armv8.2-a+crc+fp16+rcpc+dotprod+crypto");

  // A Neoverse N1 server: "ares" shares its part number and comes first.
  write(core_block("0x41", "0x3", "0xd0c", (std::string(a76_features) + " ssbs").c_str()));
  EXPECT_EQ(ask("cpu"), "-mcpu=ares+crc+crypto+ssbs");
  EXPECT_EQ(ask("tune"), "-mtune=ares");
}

TEST_F(HostDetect, BigLittlePairsInEitherOrder) {
  const char *features = "fp asimd evtstrm aes pmull sha1 sha2 crc32 cpuid";
  write(core_block("0x41", "0x0", "0xd03", features) + core_block("0x41", "0x1", "0xd07", features));
  EXPECT_EQ(ask("cpu"), "-mcpu=cortex-a57.cortex-a53+crc+crypto");
  EXPECT_EQ(ask("tune"), "-mtune=cortex-a57.cortex-a53");
  // Only the first part names the architecture.
  EXPECT_EQ(ask("arch"), "-march=armv8-a+crc+crypto");

  write(core_block("0x41", "0x0", "0xd08", features) + core_block("0x41", "0x0", "0xd03", features));
  EXPECT_EQ(ask("cpu"), "-mcpu=cortex-a72.cortex-a53+crc+crypto");

  // Two parts that form no listed pairing: no answer, except for "arch".
  write(core_block("0x41", "0x0", "0xd08", features) + core_block("0x41", "0x0", "0xd05", features));
  EXPECT_EQ(ask("cpu"), std::nullopt);
  EXPECT_EQ(ask("tune"), std::nullopt);
  EXPECT_EQ(ask("arch"), "-march=armv8-a+crc+crypto");
}

TEST_F(HostDetect, VariantSpecificCores) {
  write(core_block("0x43", "0x0", "0x0a1", "fp asimd aes pmull sha1 sha2 crc32"));
  EXPECT_EQ(ask("tune"), "-mtune=thunderxt88p1");
  write(core_block("0x43", "0x1", "0x0a1", "fp asimd aes pmull sha1 sha2 crc32"));
  EXPECT_EQ(ask("tune"), "-mtune=thunderxt88");

  write(core_block("0x50", "0x3", "0x000", "fp asimd aes pmull sha1 sha2 crc32"));
  EXPECT_EQ(ask("tune"), "-mtune=emag");
  write(core_block("0x50", "0x1", "0x000", "fp asimd"));
  EXPECT_EQ(ask("cpu"), "-mcpu=xgene1");
}

TEST_F(HostDetect, UnknownPartFallsBackToTheBaseArchitecture) {
  write(core_block("0x41", "0x0", "0xfff", a72_features));
  EXPECT_EQ(ask("cpu"), "-march=armv8-a+crc+crypto");
  EXPECT_EQ(ask("arch"), "-march=armv8-a+crc+crypto");
  EXPECT_EQ(ask("tune"), "-march=armv8-a");

  // An implementer nobody lists behaves the same.
  write(core_block("0x99", "0x0", "0xd08", "fp asimd"));
  EXPECT_EQ(ask("cpu"), "-march=armv8-a");
}

TEST_F(HostDetect, UnreadableOrUselessDescriptionsGiveNoAnswer) {
  setenv("VRK_CPUINFO", "/nonexistent/vrk/cpuinfo", 1);
  EXPECT_EQ(ask("cpu"), std::nullopt);
  EXPECT_EQ(ask("arch"), std::nullopt);
  EXPECT_EQ(ask("tune"), std::nullopt);
  setenv("VRK_CPUINFO", path_.c_str(), 1);

  write("");
  EXPECT_EQ(ask("cpu"), std::nullopt);

  // Features alone identify nothing.
  write("Features\t: fp asimd\n");
  EXPECT_EQ(ask("arch"), std::nullopt);

  // No implementer.
  write("CPU variant\t: 0x0\nCPU part\t: 0xd08\n");
  EXPECT_EQ(ask("cpu"), std::nullopt);
}

TEST_F(HostDetect, UnknownOrMissingQuery) {
  write(core_block("0x41", "0x0", "0xd08", a72_features));
  EXPECT_EQ(ask("native"), std::nullopt);
  EXPECT_EQ(ask("CPU"), std::nullopt);
  EXPECT_EQ(ask(""), std::nullopt);
  EXPECT_EQ(ask(nullptr), std::nullopt);
}

TEST_F(HostDetect, ContradictoryFieldsEndDetection) {
  // Implementer 0xff means unknown.
  write(core_block("0xff", "0x0", "0xd08", a72_features));
  EXPECT_EQ(ask("cpu"), std::nullopt);

  // Mixed implementers.
  write(core_block("0x41", "0x0", "0xd08", a72_features) +
        core_block("0x43", "0x0", "0x0a1", a72_features));
  EXPECT_EQ(ask("arch"), std::nullopt);

  // Three distinct parts.
  write(core_block("0x41", "0x0", "0xd08", a72_features) +
        core_block("0x41", "0x0", "0xd03", a72_features) +
        core_block("0x41", "0x0", "0xd05", a72_features));
  EXPECT_EQ(ask("arch"), std::nullopt);

  // Three distinct variants.
  write(core_block("0x41", "0x0", "0xd03", a72_features) +
        core_block("0x41", "0x1", "0xd03", a72_features) +
        core_block("0x41", "0x2", "0xd03", a72_features));
  EXPECT_EQ(ask("cpu"), std::nullopt);

  // One part needs exactly one variant.
  write(core_block("0x41", "0x0", "0xd03", a72_features) +
        core_block("0x41", "0x1", "0xd03", a72_features));
  EXPECT_EQ(ask("cpu"), std::nullopt);
  write("CPU implementer\t: 0x41\nCPU part\t: 0xd03\n");
  EXPECT_EQ(ask("cpu"), std::nullopt);
}

TEST_F(HostDetect, MalformedFieldValues) {
  // An unreadable implementer before the first good one is skipped...
  write("CPU implementer\t: ?\n" + core_block("0x41", "0x0", "0xd08", a72_features));
  EXPECT_EQ(ask("tune"), "-mtune=cortex-a72");
  // ...but after it, it ends detection.
  write(core_block("0x41", "0x0", "0xd08", a72_features) + "CPU implementer\t: zz\n");
  EXPECT_EQ(ask("tune"), std::nullopt);

  // A part without digits identifies no core.
  write(core_block("0x41", "0x0", "", "fp asimd crc32"));
  EXPECT_EQ(ask("cpu"), "-march=armv8-a+crc");

  // Values without the "0x" prefix are still hexadecimal; a field name
  // without a ':' after it is not a field.
  write("CPU implementer : 41\nCPU variant : 0\nCPU part : d08\nCPU part d03\n"
        "Features : fp asimd crc32\n");
  EXPECT_EQ(ask("cpu"), "-mcpu=cortex-a72+crc");

  // A value too large for any table entry.
  write(core_block("0x41", "0x0", "0xffffffffffffffffffffffff", "fp asimd"));
  EXPECT_EQ(ask("tune"), "-march=armv8-a");
}

TEST_F(HostDetect, FeatureLineIsReadAsWholeWordsOnce) {
  // "sha2x" and "pmullx" are not "sha2" and "pmull"; crc32 is still there.
  write(core_block("0x41", "0x0", "0xd08", "fp asimd aes pmullx sha1 sha2x crc32"));
  EXPECT_EQ(ask("cpu"), "-mcpu=cortex-a72+crc+aes");

  // Only the first feature line counts, whatever the others say.
  write(core_block("0x41", "0x0", "0xd08", a72_features) +
        core_block("0x41", "0x0", "0xd08", "fp asimd sve sve2 i8mm"));
  EXPECT_EQ(ask("cpu"), "-mcpu=cortex-a72+crc+crypto");

  // Windows line ends and a missing final newline.
  write("CPU implementer\t: 0x41\r\nCPU variant\t: 0x0\r\nCPU part\t: 0xd08\r\n"
        "Features\t: fp asimd aes pmull sha1 sha2 crc32\r\n");
  EXPECT_EQ(ask("cpu"), "-mcpu=cortex-a72+crc+crypto");
  write("CPU implementer\t: 0x41\nCPU variant\t: 0x0\nFeatures\t: fp asimd crc32\nCPU part\t: 0xd08");
  EXPECT_EQ(ask("cpu"), "-mcpu=cortex-a72+crc");
}

TEST_F(HostDetect, LongLinesAndBinaryJunk) {
  std::string features(1 << 20, 'x');
  features += " fp asimd crc32 ";
  features += std::string(1 << 16, ' ');
  std::string junk("\x01\x02\xff", 3);
  junk += '\0';
  junk += "implementer\n";
  write(junk + core_block("0x41", "0x0", "0xd03", features.c_str()) + std::string(70000, ':'));
  EXPECT_EQ(ask("cpu"), "-mcpu=cortex-a53+crc");
}

TEST_F(HostDetect, EnvironmentHookIsUsed) {
  write(core_block("0x41", "0x0", "0xd08", a72_features));
  static std::string hooked_path;
  hooked_path = path_;
  aarch64_getenv_function saved = host_cpu_getenv;
  host_cpu_getenv = [](const char *name) -> const char * {
    return std::string(name) == "VRK_CPUINFO" ? hooked_path.c_str() : nullptr;
  };
  unsetenv("VRK_CPUINFO");
  EXPECT_EQ(ask("tune"), "-mtune=cortex-a72");
  host_cpu_getenv = saved;
}

TEST(HostDetectDeath, NoArgumentsIsAnInternalError) {
  diagnostic_initialize("vrk");
  const char *argv[] = {nullptr};
  EXPECT_EXIT(host_detect_local_cpu(0, argv), ::testing::ExitedWithCode(4), "");
}

} // namespace
