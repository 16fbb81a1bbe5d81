// The whole spec loading sequence after the command line.  It changes the
// named specs (process-wide) for good, so the case runs in a child process
// and reports what it found wrong.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "spec/load-specs.h"
#include "spec/spec-test-support.h"
#include "support/scratch-dir-test-support.h"

using ::testing::ExitedWithCode;

namespace {

int find_switch(const switch_list &switches, const char *text) {
  for (int i = 0; i < switches.count(); i++)
    if (std::strcmp(switches[i].text, text) == 0)
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

class load_specs_test : public spec_test {};

// The standard directories and suffixes are -print-search-dirs driver tests.
TEST_F(load_specs_test, SelfSpecsUserSpecsClaimsAndStartfilePrefixSpec) {
  scratch_dir tree;
  std::string user = tree.file("u.specs", "*self_spec:\n-fself-added\n\n*asm:\n+ %{mcustom}\n");
  comp.user_spec_files.push_back(user.c_str());
  add_switch("-mcustom", nullptr, false);
  add_switch("-fzux-tm");
  add_switch("-m32");

  EXPECT_EXIT(
      {
        named_specs.startfile_prefix_spec = "/alt/lib/ %{m32:/alt/lib32/}";
        load_specs_after_command_line(in);
        std::string problems;
        for (const char *added : {"mlittle-endian", "mabi=lp64", "pthread", "fself-added"})
          if (find_switch(comp.switches, added) < 0)
            problems += std::string("switch not added: ") + added + "\n";
        int custom = find_switch(comp.switches, "mcustom");
        if (custom < 0 || !comp.switches[custom].claimed)
          problems += "-mcustom not claimed by the user spec\n";
        // The expansion replaces the standard library directories.
        std::string prefixes = prefixes_of(comp.search.startfile_prefixes);
        if (prefixes != "/alt/lib/(os) /alt/lib32/(os) ")
          problems += "startfile prefixes: " + prefixes + "\n";
        std::fputs(problems.c_str(), stderr);
        std::exit(problems.empty() ? 0 : 3);
      },
      ExitedWithCode(0), "");
}
