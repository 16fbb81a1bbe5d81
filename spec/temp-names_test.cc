// Temporary and output names: the memo shared by all inputs, the unique
// letters, object suffixes, /dev/null, and -save-temps kept names.  The
// pipe ends of -pipe are driver tests.
#include <unistd.h>

#include <string>

#include "spec/spec-test-support.h"
#include "support/scratch-dir-test-support.h"

class temp_names_test : public spec_test {};

TEST_F(temp_names_test, GeneratedNamesByFamilyAndSuffix) {
  std::string shared = expand("%g.s")[0];
  in.set_current_input("other.c");
  EXPECT_EQ(expand("%g.s")[0], shared);  // the same for every input
  EXPECT_TRUE(shared.ends_with(".s"));

  words w = expand("%u.o %u.o %U.o %g.o %g%O %g.x%O");
  ASSERT_EQ(w.size(), 6u);
  EXPECT_NE(w[0], w[1]);
  EXPECT_EQ(w[1], w[2]);  // %U takes the last %u name
  EXPECT_NE(w[3], w[1]);  // another family
  EXPECT_EQ(w[4], w[3]);  // %O makes the suffix ".o"
  EXPECT_TRUE(w[5].ends_with(".x.o"));
  EXPECT_STREQ(in.last_temp_base(), w[5].c_str());

  comp.compare_debug.mode = -1;
  EXPECT_TRUE(expand("%g.s")[0].ends_with(".gk.s"));
  EXPECT_EQ(expand("-o %j"), (words{"-o", "/dev/null"}));

  // Generated names are deleted at the end of the run.
  EXPECT_EQ(access(w[0].c_str(), F_OK), 0);
  delete_end_files();
  EXPECT_NE(access(w[0].c_str(), F_OK), 0);
}

TEST_F(temp_names_test, SaveTempsKeptNames) {
  comp.save_temps_mode = keep_temps_auxdir;
  EXPECT_EQ(expand("%g.s %b.o %u.i%O -o %j.s"),
            (words{"foo.s", "foo.o", "foo.i.o", "-o", "foo.s"}));
  comp.aux_dir = "out/";
  comp.aux_dir_length = 4;
  // The kept name ends the argument: what follows is not part of it.
  EXPECT_EQ(expand("%g.s %g.s-X"), (words{"out/foo.s", "out/foo.s"}));

  // Without a stem the suffix loses its dot, unless the driver added a
  // dash to the auxiliary directory.
  in.input.base = nullptr;
  in.input.base_length = in.input.stem_length = 0;
  comp.aux_dir = nullptr;
  comp.aux_dir_length = 0;
  EXPECT_EQ(expand("%g.res"), (words{"res"}));
  comp.aux_dir = "a.";
  comp.aux_dir_length = 1;
  comp.aux_dir_dash_added = true;
  EXPECT_EQ(expand("%g.res"), (words{"a.res"}));
}

TEST_F(temp_names_test, KeptNameThatIsTheInputFallsBackToATemporary) {
  comp.save_temps_mode = keep_temps_auxdir;
  scratch_dir tree;
  std::string input = tree.file("foo.s");
  in.set_current_input(input.c_str());
  // Another spelling of the same directory: the file identity decides.
  std::string other_spelling = tree.root() + "/./";
  comp.aux_dir = other_spelling.c_str();
  comp.aux_dir_length = static_cast<int>(other_spelling.size());
  std::string name = expand("%g.s")[0];
  EXPECT_NE(name, input);
  EXPECT_TRUE(name.ends_with(".s"));
  delete_end_files();
  EXPECT_EQ(access(input.c_str(), F_OK), 0);  // the input itself survives
}
