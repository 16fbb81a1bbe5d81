// Auxiliary-output names for the combinations of -o, -dumpdir, -dumpbase,
// -dumpbase-ext, -save-temps and -c that decide them.  The driver tests
// cover, end to end: linking into another directory, compiling to out/x.o
// (with -save-temps=cwd too), -dumpbase with a directory or an extension,
// several inputs with -dumpbase, and the order of -dumpdir and
// -save-temps=obj.
#include "driver/aux-names.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "compilation/compilation.h"

namespace {

// The fields of R that are set, as "dir=... base=... ext=... stem=...
// len=N dash keep".
std::string describe(const aux_name_result &r) {
  std::string s;
  auto field = [&s](const char *name, const char *value) {
    if (value)
      s += std::string(" ") + name + "=" + value;
  };
  field("dir", r.aux_dir);
  field("base", r.aux_base);
  field("ext", r.aux_base_ext);
  field("stem", r.output_stem);
  if (r.output_stem_length)
    s += " len=" + std::to_string(r.output_stem_length);
  if (r.aux_dir_dash_added)
    s += " dash";
  if (r.save_temps_mode == keep_temps_auxdir)
    s += " keep";
  return s.empty() ? s : s.substr(1);
}

struct aux_case {
  const char *output, *dumpdir, *dumpbase, *dumpbase_ext;
  const char *flags;  // c: stops before linking, d: -dumpdir given, o: -save-temps= overrides it
  int mode;
  std::vector<const char *> inputs;
  const char *want;
};

const aux_case cases[] = {
    // Linking: the output's name, cut at ".exe" or "a.out"'s suffix.
    {"a.out", nullptr, nullptr, nullptr, "", 0, {"x.c"}, "dir=a- dash"},
    {"bin/prog.exe", nullptr, nullptr, nullptr, "", 0, {"x.c"}, "dir=bin/prog- dash"},
    {"prog.exe", nullptr, nullptr, ".x", "", 0, {"x.c"}, "dir=prog.exe- dash"},
    {"foo.x", nullptr, nullptr, ".x", "", 0, {"x.c"}, "dir=foo- dash"},
    // One input named after the program: the stem names the link outputs.
    {"prog", nullptr, nullptr, nullptr, "", 0, {"prog.c"}, "stem=prog"},
    {"prog", nullptr, nullptr, nullptr, "", 0, {"prog.x.c"}, "dir=prog- dash"},
    {nullptr, nullptr, nullptr, nullptr, "", 0, {"a.c"}, "stem=a"},
    {nullptr, nullptr, nullptr, nullptr, "", 0, {"x.c", "y.c"}, "dir=a- dash"},
    {nullptr, nullptr, nullptr, nullptr, "", keep_temps_auxdir, {"x.c", "y.c"},
     "dir=a- dash keep"},
    // -dumpbase and -dumpbase-ext.
    {nullptr, nullptr, "foo", ".c", "c", 0, {"a.c"}, "base=foo stem=foo len=3"},
    {"o/x.o", nullptr, "b.c", ".c", "c", 0, {"a.c", "c.c"}, "dir=o/b- stem=x len=1 dash"},
    {"prog", nullptr, "foo", nullptr, "", 0, {"x.c"}, "dir=foo- dash"},
    {"out/p", nullptr, "", nullptr, "", 0, {"x.c", "y.c"}, "dir=out/ base= stem=p"},
    {"out/x.o", nullptr, "", nullptr, "c", 0, {"x.c"}, "dir=out/ base="},
    // -dumpdir, -save-temps=obj and outputs that name no file.
    {nullptr, "d/", nullptr, nullptr, "cdo", keep_temps_objdir, {"x.c"}, "keep"},
    {"prog", "d/", nullptr, nullptr, "d", 0, {"x.c"}, "dir=d/"},
    {"-", nullptr, nullptr, nullptr, "c", 0, {"x.c"}, ""},
    {"/dev/null", "d/", nullptr, nullptr, "cdo", 0, {"x.c"}, "dir=d/"},
    // A leading dot is no suffix.
    {"out/.hidden", nullptr, nullptr, nullptr, "c", 0, {"x.c"}, "dir=out/ stem=.hidden len=7"},
};

TEST(AuxNames, DerivationTable) {
  for (const aux_case &c : cases) {
    aux_name_input in{c.output, c.dumpdir, c.dumpbase, c.dumpbase_ext,
                      std::strchr(c.flags, 'd') != nullptr, std::strchr(c.flags, 'o') != nullptr,
                      std::strchr(c.flags, 'c') != nullptr, c.mode, c.inputs.data(),
                      static_cast<int>(c.inputs.size())};
    aux_name_result r = derive_aux_names(in);
    EXPECT_EQ(describe(r), c.want) << "-o " << (c.output ? c.output : "none") << " " << c.inputs[0];
    EXPECT_EQ(r.aux_dir_length, r.aux_dir ? static_cast<int>(std::strlen(r.aux_dir)) : 0);
  }
}

} // namespace
