// The whole spec loading sequence after the command line.  It changes
// process-wide state for good (prefix lists, compilers table, switches),
// so each case runs in a child process and reports what it found wrong.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "driver/compilers.h"
#include "options/option-table.h"
#include "process/prefixes.h"
#include "spec/load-specs.h"
#include "spec/multilib.h"
#include "spec/scratch-tree-test-support.h"
#include "spec/spec-test-support.h"

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

std::string spec_value(const char *name) {
  named_spec *sl = lookup_spec(name);
  return sl ? *sl->value_slot : "<none>";
}

// Leave the child with status 0 when PROBLEMS is empty, else print them.
[[noreturn]] void finish_child(const std::string &problems) {
  std::fputs(problems.c_str(), stderr);
  std::exit(problems.empty() ? 0 : 3);
}

} // namespace

class load_specs_test : public spec_test {
protected:
  void SetUp() override {
    spec_test::SetUp();
    reset_specs();
    init_multilib_tables();
    reset_multilib_selection();
    startfile_prefixes = {nullptr, 0, "startfile"};
    user_spec_files.clear();
    install_exec_prefix = nullptr;
  }
};

TEST_F(load_specs_test, BuiltInSpecsSelfSpecsUserSpecsAndClaims) {
  scratch_tree tree;
  std::string user = tree.file("u.specs", "*self_spec:\n-fself-added\n\n*asm:\n+ %{mcustom}\n");
  user_spec_files.push_back(user.c_str());
  add_switch("-mcustom", nullptr, false);
  add_switch("-fzux-tm");
  install_exec_prefix = "/opt/tc/lib/vrk/";

  EXPECT_EXIT(
      {
        load_specs_after_command_line();
        std::string problems;
        auto check = [&](bool ok, const std::string &what) {
          if (!ok)
            problems += "wrong: " + what + "\n";
        };
        check(lookup_spec("asm_cpu_spec") != nullptr, "built-in spec list installed");
        std::string asm_value = spec_value("asm");
        check(asm_value.ends_with("%(asm_cpu_spec)%{mabi=*:-mabi=%*} %{mcustom}"),
              "user addition to asm: " + asm_value);
        for (const char *added : {"mlittle-endian", "mabi=lp64", "pthread", "fself-added"})
          check(find_switch(added) >= 0, std::string("switch added: ") + added);
        int custom = find_switch("mcustom");
        check(custom >= 0 && saved_switches[custom].claimed, "user spec claims -mcustom");
        check(std::strcmp(machine_suffix, "aarch64-portbld-freebsd15.0/13.2.0/") == 0,
              "machine suffix");
        check(std::strcmp(machine_only_suffix, "aarch64-portbld-freebsd15.0/") == 0,
              "machine-only suffix");
        check(std::strcmp(install_exec_prefix,
                          "/opt/tc/lib/vrk/aarch64-portbld-freebsd15.0/13.2.0/") == 0,
              std::string("install prefix: ") + install_exec_prefix);
        std::string prefixes = prefixes_of(startfile_prefixes);
        check(prefixes == "/opt/tc/lib/(os) /lib/(os) /usr/lib/(os) ",
              "startfile prefixes: " + prefixes);
        check(compilers_table.size() == static_cast<std::size_t>(default_compilers_count),
              "compilers table copied");
        check(selected_multilib_dir == nullptr && selected_multilib_os_dir == nullptr,
              "no multilib directory");
        finish_child(problems);
      },
      ExitedWithCode(0), "");
}

TEST_F(load_specs_test, StartfilePrefixSpecReplacesTheStandardDirectories) {
  add_switch("-m32");
  EXPECT_EXIT(
      {
        startfile_prefix_spec = "/alt/lib/ %{m32:/alt/lib32/}";
        load_specs_after_command_line();
        std::string prefixes = prefixes_of(startfile_prefixes);
        finish_child(prefixes == "/alt/lib/(os) /alt/lib32/(os) " ? ""
                                                                   : "prefixes: " + prefixes + "\n");
      },
      ExitedWithCode(0), "");
}
