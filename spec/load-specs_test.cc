// The whole spec loading sequence after the command line.  It changes
// process-wide state for good (prefix lists, compilers table, switches),
// so the case runs in a child process and reports what it found wrong.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "process/prefixes.h"
#include "spec/load-specs.h"
#include "spec/multilib.h"
#include "spec/spec-test-support.h"
#include "support/scratch-dir-test-support.h"

using ::testing::ExitedWithCode;

namespace {

int find_switch(const char *text) {
  for (int i = 0; i < saved_switch_count; i++)
    if (std::strcmp(saved_switches[i].text, text) == 0)
      return i;
  return -1;
}

std::string prefixes_of(const prefix_list &list) {
  std::string out;
  for (prefix_entry *pl = list.plist; pl; pl = pl->next)
    out += std::string(pl->prefix) + (pl->os_multilib ? "(os) " : " ");
  return out;
}

} // namespace

class load_specs_test : public spec_test {
protected:
  void SetUp() override {
    spec_test::SetUp();
    user_spec_files.clear();
    install_exec_prefix = nullptr;
  }
};

// The standard directories and suffixes are -print-search-dirs driver tests.
TEST_F(load_specs_test, SelfSpecsUserSpecsClaimsAndStartfilePrefixSpec) {
  scratch_dir tree;
  std::string user = tree.file("u.specs", "*self_spec:\n-fself-added\n\n*asm:\n+ %{mcustom}\n");
  user_spec_files.push_back(user.c_str());
  add_switch("-mcustom", nullptr, false);
  add_switch("-fzux-tm");
  add_switch("-m32");

  EXPECT_EXIT(
      {
        startfile_prefix_spec = "/alt/lib/ %{m32:/alt/lib32/}";
        load_specs_after_command_line();
        std::string problems;
        for (const char *added : {"mlittle-endian", "mabi=lp64", "pthread", "fself-added"})
          if (find_switch(added) < 0)
            problems += std::string("switch not added: ") + added + "\n";
        int custom = find_switch("mcustom");
        if (custom < 0 || !saved_switches[custom].claimed)
          problems += "-mcustom not claimed by the user spec\n";
        // The expansion replaces the standard library directories.
        std::string prefixes = prefixes_of(run_paths.startfile_prefixes);
        if (prefixes != "/alt/lib/(os) /alt/lib32/(os) ")
          problems += "startfile prefixes: " + prefixes + "\n";
        std::fputs(problems.c_str(), stderr);
        std::exit(problems.empty() ? 0 : 3);
      },
      ExitedWithCode(0), "");
}
