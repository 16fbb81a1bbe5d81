// Host detection against processor descriptions written to a temporary
// file and named through VRK_CPUINFO.  The driver tests cover the common
// hosts end to end: a Cortex-A72 with and without its feature line, a
// big.LITTLE pair, the ThunderX variants, an unknown part, and files that
// are missing, hold nothing useful, mix implementers or three parts.
#include "config/aarch64/driver-aarch64.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <optional>
#include <string>

#include "support/scratch-dir-test-support.h"

namespace {

// A single-core description in the usual layout.
std::string core(const char *implementer, const char *variant, const char *part,
                 const char *features = "fp asimd evtstrm aes pmull sha1 sha2 crc32 cpuid") {
  return std::string("processor\t: 0\nBogoMIPS\t: 100.00\nFeatures\t: ") + features +
         "\nCPU implementer\t: " + implementer + "\nCPU architecture: 8\nCPU variant\t: " +
         variant + "\nCPU part\t: " + part + "\nCPU revision\t: 2\n\n";
}

class HostDetect : public ::testing::Test {
protected:
  void SetUp() override { setenv("VRK_CPUINFO", path_.c_str(), 1); }
  void TearDown() override { unsetenv("VRK_CPUINFO"); }

  void write(const std::string &text) { std::ofstream(path_, std::ios::binary) << text; }

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

  scratch_dir scratch_;
  std::string path_ = scratch_.path("cpuinfo");
};

TEST_F(HostDetect, AnswersForProcessorDescriptions) {
  const char *a76_features = "fp asimd evtstrm aes pmull sha1 sha2 crc32 atomics fphp asimdhp "
                             "cpuid asimdrdm lrcpc dcpop asimddp";
  const std::string a72 = core("0x41", "0x0", "0xd08"), a53 = core("0x41", "0x0", "0xd03");
  const std::string a53_no_crypto = core("0x41", "0x0", "0xd03", "fp asimd evtstrm crc32 cpuid");
  struct {
    std::string info;
    const char *query;
    std::optional<std::string> want;
  } cases[] = {
      // Four identical cores count as one.
      {a53_no_crypto + a53_no_crypto + a53_no_crypto + a53_no_crypto, "cpu",
       "-mcpu=cortex-a53+crc"},
      // Against the bare architecture every extension beyond it is named.
      {core("0x41", "0x4", "0xd0b", a76_features), "arch",
       "-march=armv8.2-a+crc+fp16+rcpc+dotprod+crypto"},
      // "ares" shares its part number with the Neoverse N1 and comes first.
      {core("0x41", "0x3", "0xd0c", (std::string(a76_features) + " ssbs").c_str()), "cpu",
       "-mcpu=ares+crc+crypto+ssbs"},
      // big.LITTLE with the big part first; two parts that form no listed
      // pairing answer only "arch".
      {a72 + a53, "cpu", "-mcpu=cortex-a72.cortex-a53+crc+crypto"},
      {a72 + core("0x41", "0x0", "0xd05"), "tune", std::nullopt},
      {a72 + core("0x41", "0x0", "0xd05"), "arch", "-march=armv8-a+crc+crypto"},
      // An implementer nobody lists: the base architecture.
      {core("0x99", "0x0", "0xd08", "fp asimd"), "cpu", "-march=armv8-a"},
      // Unknown or missing queries.
      {a72, "native", std::nullopt},
      {a72, "", std::nullopt},
      {a72, nullptr, std::nullopt},
      // Nothing identifies the processor: an empty file, features alone, no
      // implementer, implementer 0xff (unknown), three variants, two
      // variants of one part, no variant at all.
      {"", "cpu", std::nullopt},
      {"Features\t: fp asimd\n", "arch", std::nullopt},
      {"CPU variant\t: 0x0\nCPU part\t: 0xd08\n", "cpu", std::nullopt},
      {core("0xff", "0x0", "0xd08"), "cpu", std::nullopt},
      {a53 + core("0x41", "0x1", "0xd03") + core("0x41", "0x2", "0xd03"), "cpu", std::nullopt},
      {a53 + core("0x41", "0x1", "0xd03"), "cpu", std::nullopt},
      {"CPU implementer\t: 0x41\nCPU part\t: 0xd03\n", "cpu", std::nullopt},
      // An unreadable implementer before the first good one is skipped, but
      // after it ends detection.
      {"CPU implementer\t: ?\n" + a72, "tune", "-mtune=cortex-a72"},
      {a72 + "CPU implementer\t: zz\n", "tune", std::nullopt},
      // A part without digits, or too large for any table entry,
      // identifies no core.
      {core("0x41", "0x0", "", "fp asimd crc32"), "cpu", "-march=armv8-a+crc"},
      {core("0x41", "0x0", "0xffffffffffffffffffffffff", "fp asimd"), "tune", "-march=armv8-a"},
      // Values without "0x" are still hexadecimal; a field name without a
      // ':' after it is not a field.
      {"CPU implementer : 41\nCPU variant : 0\nCPU part : d08\nCPU part d03\n"
       "Features : fp asimd crc32\n",
       "cpu", "-mcpu=cortex-a72+crc"},
      // Features are whole words ("sha2x" is not "sha2"), and only the
      // first feature line counts.
      {core("0x41", "0x0", "0xd08", "fp asimd aes pmullx sha1 sha2x crc32"), "cpu",
       "-mcpu=cortex-a72+crc+aes"},
      {a72 + core("0x41", "0x0", "0xd08", "fp asimd sve sve2 i8mm"), "cpu",
       "-mcpu=cortex-a72+crc+crypto"},
      // Windows line ends and a missing final newline.
      {"CPU implementer\t: 0x41\r\nCPU variant\t: 0x0\r\nCPU part\t: 0xd08\r\n"
       "Features\t: fp asimd aes pmull sha1 sha2 crc32\r\n",
       "cpu", "-mcpu=cortex-a72+crc+crypto"},
      {"CPU implementer\t: 0x41\nCPU variant\t: 0x0\nFeatures\t: fp asimd crc32\nCPU part\t: 0xd08",
       "cpu", "-mcpu=cortex-a72+crc"},
  };
  int row = 0;
  for (const auto &c : cases) {
    write(c.info);
    EXPECT_EQ(ask(c.query), c.want) << "row " << row++ << " query " << (c.query ? c.query : "-");
  }
}

TEST_F(HostDetect, LongLinesAndBinaryJunk) {
  std::string features(1 << 20, 'x');
  features += " fp asimd crc32 ";
  features += std::string(1 << 16, ' ');
  std::string junk("\x01\x02\xff", 3);
  junk += '\0';
  junk += "implementer\n";
  write(junk + core("0x41", "0x0", "0xd03", features.c_str()) + std::string(70000, ':'));
  EXPECT_EQ(ask("cpu"), "-mcpu=cortex-a53+crc");
}

} // namespace
