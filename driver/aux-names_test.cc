// Auxiliary-output names for the combinations of -o, -dumpdir, -dumpbase,
// -dumpbase-ext, -save-temps and -c that decide them.
#include "driver/aux-names.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "driver/driver-state.h"

namespace {

struct aux_case {
  const char *what;
  // Input.
  const char *output;
  const char *dumpdir;
  const char *dumpbase;
  const char *dumpbase_ext;
  bool dumpdir_given;
  bool overrides_dir;
  bool stop;
  int mode;
  std::vector<const char *> inputs;
  // Expected.
  const char *aux_dir;
  const char *base;
  const char *ext;
  const char *stem;
  int stem_length;
  bool dash;
  int mode_after;
};

std::string show(const char *s) { return s ? std::string("\"") + s + "\"" : "none"; }

const aux_case cases[] = {
    // The driver tests cover, end to end: linking into another directory,
    // compiling to out/x.o (with -save-temps=cwd too), -dumpbase with a
    // directory or an extension, several inputs with -dumpbase, and the
    // order of -dumpdir and -save-temps=obj.
    {"link x.c -o a.out cuts the suffix", "a.out", nullptr, nullptr, nullptr, false, false,
     false, 0, {"x.c"}, "a-", nullptr, nullptr, nullptr, 0, true, 0},
    {"link prog.c -o prog names the link outputs", "prog", nullptr, nullptr, nullptr, false,
     false, false, 0, {"prog.c"}, nullptr, nullptr, nullptr, "prog", 0, false, 0},
    {"link prog.x.c -o prog: a second dot", "prog", nullptr, nullptr, nullptr, false, false,
     false, 0, {"prog.x.c"}, "prog-", nullptr, nullptr, nullptr, 0, true, 0},
    {"-dumpbase-ext that is not a proper suffix", nullptr, nullptr, "foo", ".c", false, false,
     true, 0, {"a.c"}, nullptr, "foo", nullptr, "foo", 3, false, 0},
    {"two inputs, -dumpbase b.c -dumpbase-ext .c, -c -o o/x.o", "o/x.o", nullptr, "b.c", ".c",
     false, false, true, 0, {"a.c", "c.c"}, "o/b-", nullptr, nullptr, "x", 1, true, 0},
    {"one input, -dumpbase foo, linking: appended", "prog", nullptr, "foo", nullptr, false,
     false, false, 0, {"x.c"}, "foo-", nullptr, nullptr, nullptr, 0, true, 0},
    {"-save-temps=obj without -o drops -dumpdir", nullptr, "d/", nullptr, nullptr, true, true,
     true, keep_temps_objdir, {"x.c"}, nullptr, nullptr, nullptr, nullptr, 0, false,
     keep_temps_auxdir},
    {"-dumpdir d/ when linking finishes early", "prog", "d/", nullptr, nullptr, true, false,
     false, 0, {"x.c"}, "d/", nullptr, nullptr, nullptr, 0, false, 0},
    {"no -o, two inputs: named after a", nullptr, nullptr, nullptr, nullptr, false, false,
     false, 0, {"x.c", "y.c"}, "a-", nullptr, nullptr, nullptr, 0, true, 0},
    {"no -o, a.c alone: stem a for the link", nullptr, nullptr, nullptr, nullptr, false, false,
     false, 0, {"a.c"}, nullptr, nullptr, nullptr, "a", 0, false, 0},
    {"-o prog.exe cuts .exe", "bin/prog.exe", nullptr, nullptr, nullptr, false, false, false,
     0, {"x.c"}, "bin/prog-", nullptr, nullptr, nullptr, 0, true, 0},
    {"-o prog.exe with an extension keeps .exe", "prog.exe", nullptr, nullptr, ".x", false,
     false, false, 0, {"x.c"}, "prog.exe-", nullptr, nullptr, nullptr, 0, true, 0},
    {"-dumpbase-ext cut from the output when linking", "foo.x", nullptr, nullptr, ".x", false,
     false, false, 0, {"x.c"}, "foo-", nullptr, nullptr, nullptr, 0, true, 0},
    {"-o - keeps no directory and no stem", "-", nullptr, nullptr, nullptr, false, false, true,
     0, {"x.c"}, nullptr, nullptr, nullptr, nullptr, 0, false, 0},
    {"-o /dev/null keeps -dumpdir", "/dev/null", "d/", nullptr, nullptr, true, true, true, 0,
     {"x.c"}, "d/", nullptr, nullptr, nullptr, 0, false, 0},
    {"empty -dumpbase when linking", "out/p", nullptr, "", nullptr, false, false, false, 0,
     {"x.c", "y.c"}, "out/", "", nullptr, "p", 0, false, 0},
    {"empty -dumpbase with -c", "out/x.o", nullptr, "", nullptr, false, false, true, 0,
     {"x.c"}, "out/", "", nullptr, nullptr, 0, false, 0},
    {"a leading dot is no suffix", "out/.hidden", nullptr, nullptr, nullptr, false, false,
     true, 0, {"x.c"}, "out/", nullptr, nullptr, ".hidden", 7, false, 0},
    {"-save-temps without -o or -c", nullptr, nullptr, nullptr, nullptr, false, false, false,
     keep_temps_auxdir, {"x.c", "y.c"}, "a-", nullptr, nullptr, nullptr, 0, true,
     keep_temps_auxdir},
};

TEST(AuxNames, DerivationTable) {
  for (const aux_case &c : cases) {
    SCOPED_TRACE(c.what);
    aux_name_input in{};
    in.output_name = c.output;
    in.aux_dir = c.dumpdir;
    in.aux_base = c.dumpbase;
    in.aux_base_ext = c.dumpbase_ext;
    in.dumpdir_given = c.dumpdir_given;
    in.temps_option_overrides_dir = c.overrides_dir;
    in.stops_before_link = c.stop;
    in.save_temps_mode = c.mode;
    in.compilable_inputs = c.inputs.data();
    in.compilable_count = static_cast<int>(c.inputs.size());

    aux_name_result r = derive_aux_names(in);
    EXPECT_EQ(show(r.aux_dir), show(c.aux_dir));
    EXPECT_EQ(show(r.aux_base), show(c.base));
    EXPECT_EQ(show(r.aux_base_ext), show(c.ext));
    EXPECT_EQ(show(r.output_stem), show(c.stem));
    EXPECT_EQ(r.output_stem_length, c.stem_length);
    EXPECT_EQ(r.aux_dir_length, c.aux_dir ? static_cast<int>(std::string(c.aux_dir).size()) : 0);
    EXPECT_EQ(r.aux_dir_dash_added, c.dash);
    EXPECT_EQ(r.save_temps_mode, c.mode_after);
  }
}

TEST(AuxNames, CompilableInputs) {
  EXPECT_TRUE(input_is_compilable(nullptr, false));
  EXPECT_TRUE(input_is_compilable("c", true));
  EXPECT_FALSE(input_is_compilable("*", false));
  EXPECT_TRUE(input_is_compilable("lto", false));
  EXPECT_FALSE(input_is_compilable("lto", true));
}

} // namespace
