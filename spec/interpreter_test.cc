// The interpreter: argument building, commands at newlines, and the
// escapes that do not involve groups or temporary names.
#include "spec/spec-test-support.h"

using ::testing::ExitedWithCode;

class interpreter_test : public spec_test {};

TEST_F(interpreter_test, WordsAndSimpleEscapes) {
  // "|" ends the word before it; a backslash at the very end adds nothing;
  // %%, %R and %M without a pending argument wait for the next one; an
  // unknown name inserts nothing, and %( without ")" ends the text.
  std::pair<const char *, words> cases[] = {
      {"a  b\tc", {"a", "b", "c"}},      {"x\\ y \\%z", {"x y", "%z"}},
      {"a | b|c", {"a", "|", "b", "|c"}}, {"a\\", {"a"}},
      {"%% x", {"%x"}},                   {"-L%R/lib %R x", {"-L/lib", "x"}},
      {"%M x", {".x"}},                   {"a%\"b", {"a", "", "b"}},
      {"%(nosuchspec)x", {"x"}},          {"a %(greet", {"a"}},
      {"%i %b %B %b.o", {"dir/foo.c", "foo", "foo.c", "foo.o"}},
  };
  for (const auto &[spec, expected] : cases)
    EXPECT_EQ(expand(spec), expected) << spec;
  EXPECT_EQ(new_errors(), 0);

  comp.sysroot_dir = "/sys";
  comp.search.multilib.os_dir = "../lib64";
  EXPECT_EQ(expand("-L%R/lib a%M"), (words{"-L/sys/lib", "a../lib64"}));
}

TEST_F(interpreter_test, NewlinesExecuteAndRunSpecExecutesTheRest) {
  static int exports;
  exports = 0;
  in.export_options = [](spec_interpreter &) { exports++; };
  int status = -5;
  words left = expand("one a\ntwo b\n\nthree", &status);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(exports, 3);  // also before the empty group
  ASSERT_EQ(recorded_commands.size(), 2u);
  EXPECT_EQ(recorded_commands[0], (words{"one", "a"}));
  EXPECT_EQ(recorded_commands[1], (words{"two", "b"}));
  EXPECT_EQ(left, (words{"three"}));

  recorded_commands.clear();
  EXPECT_EQ(in.run_spec("kfront x |"), 0);
  EXPECT_EQ(recorded_commands, (std::vector<words>{{"kfront", "x"}}));

  // A failed command stops the spec.
  recorded_commands.clear();
  in.execute_command = [](spec_interpreter &in) {
    record_command(in);
    return -1;
  };
  EXPECT_EQ(in.run_spec("first\nsecond\n"), -1);
  EXPECT_EQ(recorded_commands.size(), 1u);
}

TEST_F(interpreter_test, InputAndBaseNames) {
  in.set_current_input("src/x.tar.gz");
  EXPECT_STREQ(in.input.suffix, "gz");
  EXPECT_EQ(expand("%b %B"), (words{"x.tar", "x.tar.gz"}));
  in.set_current_input(".profile");
  EXPECT_EQ(expand("%b %B"), (words{".profile", ".profile"}));
  EXPECT_STREQ(in.input.suffix, "");

  // The auxiliary directory and output stem apply except to outputs.
  in.set_current_input("dir/foo.c");
  comp.aux_dir = "out/p-";
  comp.aux_dir_length = 6;
  EXPECT_EQ(expand("%b.d %w%b.o"), (words{"out/p-foo.d", "foo.o"}));
  comp.output_stem = "stem";
  comp.output_stem_length = 4;
  EXPECT_EQ(expand("%b.su"), (words{"out/p-stem.su"}));
  comp.compare_debug.mode = -1;
  EXPECT_EQ(expand("%B"), (words{"out/p-stem.gk.c"}));
}

TEST_F(interpreter_test, OutputSlotsAndDeletion) {
  comp.output_files = {"a.o", nullptr, "c.o"};
  in.input.number = 1;
  EXPECT_EQ(expand("%w%b%O"), (words{"foo.o"}));
  EXPECT_STREQ(comp.output_files[1], "foo.o");
  EXPECT_EQ(expand("ld %o x"), (words{"ld", "a.o", "foo.o", "c.o", "x"}));
  expand("%V");
  EXPECT_EQ(comp.output_files[1], nullptr);

  // With a response file only the names go into it: an argument pending
  // before %o stays on the command line, after the file.
  comp.response_file_seen = true;
  words w = expand("ld x%o");
  ASSERT_EQ(w.size(), 3u);
  EXPECT_EQ(w[1][0], '@');
  EXPECT_EQ(w[2], "x");

  // %d records the file after the option's "=".
  expand("%d-fdump=keep/file.x");
  EXPECT_TRUE(listed(end_delete_list, "keep/file.x"));
  delete_end_files();
}

TEST_F(interpreter_test, InsertedTexts) {
  define_spec("greet", "hello %(other)", false);
  EXPECT_EQ(expand("%(greet)"), (words{"hello"}));
  define_spec("other", "world", false);
  EXPECT_EQ(expand("%(greet)"), (words{"hello", "world"}));
  define_spec("cpp", "-DCPP", false);
  EXPECT_EQ(expand("%C"), (words{"-DCPP"}));
  compiler_entry row{"@c++", "", "-DROW", 0, 0};
  in.input.compiler = &row;
  EXPECT_EQ(expand("%C"), (words{"-DROW"}));

  // Each passed-through option ends as an argument of its own; a repeated
  // %x{...} ends the text.
  comp.linker_passthrough = {"-z", "now"};
  comp.assembler_passthrough = {"-mfoo"};
  EXPECT_EQ(expand("pre%X %Y %Z end"), (words{"pre-z", "now", "-mfoo", "end"}));
  comp.linker_passthrough.clear();
  EXPECT_EQ(expand("a %x{-lfoo} b %x{-lfoo} c"), (words{"a", "b"}));
  ASSERT_EQ(comp.linker_passthrough.size(), 1u);
  EXPECT_STREQ(comp.linker_passthrough[0], "-lfoo");

  // %* outside a group; %. takes the text up to the next "%" or blank.
  EXPECT_EQ(expand("a%*b"), (words{"ab"}));
  EXPECT_EQ(new_errors(), 1);
  EXPECT_EQ(in.expand_spec("x%*y %*", "S"), 0);
  EXPECT_EQ(current_words(), (words{"xSy", "S"}));
  expand("%.dx%i y");
  EXPECT_STREQ(in.args.suffix_substitute, ".dx");
  expand("x");
  EXPECT_EQ(in.args.suffix_substitute, nullptr);
}

TEST_F(interpreter_test, ErrorsAndNotes) {
  int status = 0;
  words w = expand("a %n note text\nb %efailure here\nc", &status);
  EXPECT_EQ(status, -1);
  EXPECT_EQ(new_errors(), 1);
  // The note takes its newline with it, and %e stops before anything ran.
  EXPECT_TRUE(recorded_commands.empty());
  EXPECT_EQ(w, (words{"a", "b"}));

  expand("%q x");
  EXPECT_EQ(new_errors(), 2);
  EXPECT_EQ(current_words(), (words{"x"}));
}

TEST_F(interpreter_test, RemovalMarksSwitches) {
  add_switch("-fdump-a");
  add_switch("-fdump-b", nullptr, false);
  add_switch("-dumpdir", "d");
  add_switch("-x");
  expand("%<fdump-* %>dumpdir %<");
  EXPECT_EQ(sw(0).liveness, static_cast<unsigned>(live_removed));
  EXPECT_TRUE(sw(0).claimed);
  EXPECT_FALSE(sw(1).claimed);  // not recognised
  EXPECT_EQ(sw(2).liveness, static_cast<unsigned>(live_removed | live_keep_for_children));
  EXPECT_EQ(sw(3).liveness, 0u);
  // Removed switches are no longer written.
  EXPECT_EQ(expand("%{fdump*} %{x}"), (words{"-x"}));
}

using interpreter_death_test = interpreter_test;

TEST_F(interpreter_death_test, MalformedSpecsAreFatal) {
  std::pair<const char *, const char *> malformed[] = {
      {"abc %", "spec .abc %. invalid"}, {"%Wx", "has invalid .%Wx."},
      {"%@x", "has invalid .%@x."},      {"%xq", "has invalid .%xq."},
      {"%x{-lfoo", "invalid"},           {"%g.s%Ox", "has invalid .%0x."}};
  for (auto [spec, message] : malformed)
    EXPECT_EXIT(expand(spec), ExitedWithCode(1), message) << spec;
  in.input.base = nullptr;
  EXPECT_EXIT(expand("%b"), ExitedWithCode(4), "");

  comp.response_file_seen = true;
  add_switch("-S");
  add_switch("-T");
  EXPECT_EXIT(expand("%@{S:%@{T}}"), ExitedWithCode(1), "cannot open nested response file");
}

TEST_F(interpreter_death_test, NestingIsBoundedAndNamesTheSpec) {
  // Named specs that nest too deeply are the driver tests' (spec-nesting);
  // without a named spec the text being interpreted is named.
  add_switch("-O2");
  auto nested = [](int depth, const char *body) {
    std::string text;
    for (int i = 0; i < depth; i++)
      text += "%{O2:";
    return text + body + std::string(depth, '}');
  };
  EXPECT_EXIT(expand(nested(250, "").c_str()), ExitedWithCode(1),
              "spec .%\\{O2:.*nests too deeply");

  // Deep nesting below the bound works, and leaves nothing behind: the
  // same depth again still works.
  std::string fine = nested(150, "y");
  EXPECT_EQ(expand(fine.c_str()), (words{"y"}));
  EXPECT_EQ(expand(fine.c_str()), (words{"y"}));
}
