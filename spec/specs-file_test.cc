// The specs file reader: entries, compilers-table rows, the link command,
// layout rules (blank lines, continuations, comments, line ends),
// directives, and every malformed-file message with its offset.  Reading
// back the -dumpspecs output is a driver test.
#include <cstdio>
#include <cstring>
#include <string>

#include "driver/compilers.h"
#include "options/option-table.h"
#include "process/prefixes.h"
#include "spec/scratch-tree-test-support.h"
#include "spec/spec-test-support.h"
#include "spec/specs-file.h"

using ::testing::ExitedWithCode;

class specs_file_test : public spec_test {
protected:
  void SetUp() override {
    spec_test::SetUp();
    reset_specs();
    init_compilers_table();
    saved_startfile = startfile_prefixes;
    startfile_prefixes = {nullptr, 0, "startfile"};
    global_options.x_verbose_flag = 0;
  }
  void TearDown() override {
    free_prefix_list(&startfile_prefixes);
    startfile_prefixes = saved_startfile;
    global_options.x_verbose_flag = 0;
    reset_specs();
    init_compilers_table();
    spec_test::TearDown();
  }

  // Read TEXT as a user specs file (through a real file).
  void read_user(const std::string &text, bool main = false) {
    std::string path = tree.file("user" + std::to_string(++files) + ".specs", text);
    read_specs_file(path.c_str(), main, true);
  }

  static std::string value_of(const char *name) {
    named_spec *sl = lookup_spec(name);
    return sl && *sl->value_slot ? *sl->value_slot : "<none>";
  }

  scratch_tree tree;
  int files = 0;
  prefix_list saved_startfile{};
};

TEST_F(specs_file_test, EntriesDefineSpecsRowsAndTheLinkCommand) {
  install_builtin_specs();
  std::size_t rows = compilers_table.size();
  read_user("*asm:\n-mine\n\n"
            "*cpp:\n+ -DFOO\n\n"
            "*specsfile_new:\nfresh\n\n"
            ".zz:\n@c\n\n"
            "*link_command:\nldwrap %o\n");
  EXPECT_EQ(value_of("asm"), "-mine");
  EXPECT_EQ(value_of("cpp"), std::string(static_spec_table[6].default_value) + " -DFOO");
  EXPECT_TRUE(lookup_spec("cpp")->user_set);
  // A new name goes to the head of the list.
  ASSERT_STREQ(spec_list->name, "specsfile_new");
  EXPECT_EQ(value_of("specsfile_new"), "fresh");
  ASSERT_EQ(compilers_table.size(), rows + 1);
  EXPECT_STREQ(compilers_table.back().key, ".zz");
  EXPECT_STREQ(compilers_table.back().spec, "@c");
  EXPECT_STREQ(link_command_spec, "ldwrap %o");

  // %a now inserts the redefined asm spec.
  EXPECT_EQ(expand("%a"), (words{"-mine"}));
}

TEST_F(specs_file_test, EmptyNameIsARowAndTheLinkCommand) {
  std::size_t rows = compilers_table.size();
  read_user(":\nlink-this %o\n");
  ASSERT_EQ(compilers_table.size(), rows + 1);
  EXPECT_STREQ(compilers_table.back().key, "");
  EXPECT_STREQ(link_command_spec, "link-this %o");
}

TEST_F(specs_file_test, LayoutOfValues) {
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
}

TEST_F(specs_file_test, LineEndsAreNormalised) {
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
      // Two blank lines before an item: a newline where a name should begin.
      {"*a:\nx\n\n\n*b:\ny\n", false, "specs file malformed after 6 characters"},
      {"*a\nx\n", false, "specs file malformed after 2 characters"},
      {"*a:", false, "specs file malformed after 3 characters"},
      {"*a:\n\n", false, "specs file malformed after 5 characters"},
      {"*a: x", false, "specs file malformed after 4 characters"},
      // Directives belong to user files: in a main file the line is a name.
      {"%include <x>\n", true, "specs file malformed after 12 characters"},
      {"%bogus x\n", false, "specs unknown % command after 0 characters"},
      {"*a:\nx\n\n%include_nothing <y>\n", false, "specs unknown % command after 7 characters"},
      {"%include inner.specs\n", false, "specs %include syntax malformed after 10 characters"},
      {"%include <inner.specs\n", false, "specs %include syntax malformed after 10 characters"},
      {"%include_noerr   <", false, "specs %include syntax malformed after 18 characters"},
      {"%include ", false, "specs %include syntax malformed after 10 characters"},
      {"%rename 1cpp x\n", false, "specs %rename syntax malformed after 8 characters"},
      {"%rename cpp\n", false, "specs %rename syntax malformed after 11 characters"},
      {"%rename cpp  \n", false, "specs %rename syntax malformed after 13 characters"},
      {"%rename cpp x y\n", false, "specs %rename syntax malformed after 13 characters"},
      {"%rename cpp _x\n", false, "specs %rename syntax malformed after 12 characters"},
      {"%rename nosuch other\n", false, "specs nosuch spec was not found to be renamed"},
      {"%rename cpp asm\n", false,
       "user[0-9]+.specs: attempt to rename spec .cpp. to already defined spec .asm."},
  };
  for (const auto &c : cases)
    EXPECT_EXIT(read_user(c.text, c.main), ExitedWithCode(1), c.message) << c.text;
}

TEST_F(specs_file_test, NoLinkCommandAndUnreadableFiles) {
  link_command_spec = nullptr;
  EXPECT_EXIT(read_user("*a:\nx\n"), ExitedWithCode(1), "spec file has no spec for linking");
  link_command_spec = default_link_command_spec;

  std::string dir = tree.dir("a-directory");
  dir.pop_back();
  EXPECT_EXIT(read_specs_file(dir.c_str(), false, true), ExitedWithCode(1),
              "cannot read spec file .*a-directory.: Is a directory");
  EXPECT_EXIT(read_specs_file("/nonexistent/specs", false, true), ExitedWithCode(1),
              "cannot read spec file ./nonexistent/specs.: No such file or directory");
}

TEST_F(specs_file_test, RenameMovesTheValue) {
  install_builtin_specs();
  std::string old_cpp = value_of("cpp");
  read_user("%rename cpp old_cpp\n*cpp:\n+ -DNEW\n");
  EXPECT_EQ(value_of("old_cpp"), old_cpp);
  EXPECT_TRUE(lookup_spec("old_cpp")->user_set);
  EXPECT_EQ(value_of("cpp"), " -DNEW");

  // Renaming to itself does nothing; a directive on the last line needs no newline.
  read_user("%rename asm asm");
  EXPECT_NE(value_of("asm"), "");
  read_user("%rename\tasm\tmy_asm");
  EXPECT_EQ(value_of("asm"), "");
  EXPECT_NE(value_of("my_asm"), "");
}

TEST_F(specs_file_test, IncludeDirectives) {
  std::string lib = tree.dir("lib");
  tree.file("lib/inner.specs", "*inner:\nfrom inner\n");
  add_search_prefix(&startfile_prefixes, lib.c_str(), nullptr, PREFIX_PRIORITY_LAST, 0, 0);

  // Read at the directive, before the rest of the including file.
  read_user("%include <inner.specs>\n*inner:\n+ and more\n");
  EXPECT_EQ(value_of("inner"), "from inner and more");
  // The including file's user flag is inherited.
  EXPECT_TRUE(lookup_spec("inner")->user_set);

  // A name not found along the prefixes is opened as it is.
  std::string direct = tree.file("direct.specs", "*direct:\nyes\n");
  read_user("%include\t<" + direct + ">");
  EXPECT_EQ(value_of("direct"), "yes");
}
