// The specs file reader: entries, compilers-table rows, the link command,
// layout rules (blank lines, continuations, comments, line ends),
// directives, and the malformed-file messages with their offsets that the
// driver tests do not reach.
#include <string>

#include "spec/spec-test-support.h"
#include "spec/specs-file.h"
#include "support/scratch-dir-test-support.h"

using ::testing::ExitedWithCode;

class specs_file_test : public spec_test {
protected:
  void SetUp() override {
    spec_test::SetUp();
    comp.compilers.init();
  }

  // Read TEXT as a user specs file (through a real file).
  void read_user(const std::string &text, bool main = false) {
    std::string path = tree.file("user" + std::to_string(++files) + ".specs", text);
    read_specs_file(comp, path.c_str(), main, true);
  }

  static std::string value_of(const char *name) {
    named_spec *sl = lookup_spec(name);
    return sl && *sl->value_slot ? *sl->value_slot : "<none>";
  }

  scratch_dir tree;
  int files = 0;
};

TEST_F(specs_file_test, EntriesRowsAndTheLinkCommand) {
  std::deque<compiler_entry> &rows_in_use = comp.compilers.rows;
  std::size_t rows = rows_in_use.size();
  read_user("*specsfile_new:\nfresh\n\n*link_command:\nldwrap %o\n");
  // A new name goes to the head of the list.
  ASSERT_STREQ(named_specs.spec_list->name, "specsfile_new");
  EXPECT_TRUE(named_specs.spec_list->user_set);
  EXPECT_STREQ(named_specs.link_command_spec, "ldwrap %o");
  // An empty name is a compilers-table row and the link command too.
  read_user(":\nlink-this %o\n");
  ASSERT_EQ(rows_in_use.size(), rows + 1);
  EXPECT_STREQ(rows_in_use.back().key, "");
  EXPECT_STREQ(rows_in_use.back().spec, "link-this %o");
  EXPECT_STREQ(named_specs.link_command_spec, "link-this %o");
}

TEST_F(specs_file_test, LayoutOfValuesAndLineEnds) {
  read_user("# leading comment\n"
            "*one :  same line  \n\n"
            "*two:\n\tfirst \\\nsecond # gone\nthird\n\n"
            "*three:\n\n\n"
            "*four:\n   # comment line before the value\nx#y\n\n"
            "*five:\na\\b\\\n");
  EXPECT_EQ(value_of("one"), "same line  ");
  // Continuations join lines; other newlines stay (each ends a command).
  EXPECT_EQ(value_of("two"), "first second \nthird");
  EXPECT_EQ(value_of("three"), "");
  EXPECT_EQ(value_of("four"), "x");
  // A backslash before the end of the text is not a continuation.
  EXPECT_EQ(value_of("five"), "a\\b\\");

  read_user("*crlf:\r\nx\r\ny\r\n\r\n*cr:\rv\r\r*lfcr:\n\rw\n\r\n\r");
  EXPECT_EQ(value_of("crlf"), "x\ny");
  EXPECT_EQ(value_of("cr"), "v");
  EXPECT_EQ(value_of("lfcr"), "w");
}

TEST_F(specs_file_test, MalformedFilesReportTheOffset) {
  install_builtin_specs();
  struct {
    const char *text;
    bool main;
    const char *message;
  } cases[] = {
      {"*a:", false, "specs file malformed after 3 characters"},
      {"*a:\n\n", false, "specs file malformed after 5 characters"},
      {"*a: x", false, "specs file malformed after 4 characters"},
      // Directives belong to user files: in a main file the line is a name.
      {"%include <x>\n", true, "specs file malformed after 12 characters"},
      {"*a:\nx\n\n%include_nothing <y>\n", false, "specs unknown % command after 7 characters"},
      {"%include <inner.specs\n", false, "specs %include syntax malformed after 10 characters"},
      {"%include_noerr   <", false, "specs %include syntax malformed after 18 characters"},
      {"%include ", false, "specs %include syntax malformed after 10 characters"},
      {"%rename 1cpp x\n", false, "specs %rename syntax malformed after 8 characters"},
      {"%rename cpp\n", false, "specs %rename syntax malformed after 11 characters"},
      {"%rename cpp  \n", false, "specs %rename syntax malformed after 13 characters"},
      {"%rename cpp x y\n", false, "specs %rename syntax malformed after 13 characters"},
  };
  for (const auto &c : cases)
    EXPECT_EXIT(read_user(c.text, c.main), ExitedWithCode(1), c.message) << c.text;

  named_specs.link_command_spec = nullptr;
  EXPECT_EXIT(read_user("*a:\nx\n"), ExitedWithCode(1), "spec file has no spec for linking");
  named_specs.link_command_spec = default_link_command_spec;
  EXPECT_EXIT(read_specs_file(comp, tree.dir("a-directory").c_str(), false, true),
              ExitedWithCode(1),
              "cannot read spec file .*a-directory.: Is a directory");
}

TEST_F(specs_file_test, RenameAndInclude) {
  install_builtin_specs();
  // A "+" addition after the rename appends to the now empty value.
  read_user("%rename cpp old_cpp\n*cpp:\n+ -DNEW\n");
  EXPECT_TRUE(lookup_spec("old_cpp")->user_set);
  EXPECT_EQ(value_of("cpp"), " -DNEW");
  // Renaming to itself does nothing; a directive on the last line needs no newline.
  read_user("%rename asm asm");
  EXPECT_NE(value_of("asm"), "");
  read_user("%rename\tasm\tmy_asm");
  EXPECT_EQ(value_of("asm"), "");
  EXPECT_NE(value_of("my_asm"), "");

  // An included file is read at the directive, before the rest of the
  // including file, and inherits its user flag.
  tree.file("lib/inner.specs", "*inner:\nfrom inner\n");
  comp.search.add_search_prefix(comp.search.startfile_prefixes, tree.path("lib/").c_str(),
                                nullptr, PREFIX_PRIORITY_LAST, 0, 0);
  read_user("%include <inner.specs>\n*inner:\n+ and more\n");
  EXPECT_EQ(value_of("inner"), "from inner and more");
  EXPECT_TRUE(lookup_spec("inner")->user_set);
}
