#include "spec/provenance.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(ProvenanceTrace, MarksTheOffsetInTheInnermostFrame) {
  provenance_trace t;
  const char *outer = "-a %(inner) -b";
  const char *inner = "-x -y";
  t.push(spec_origin::compilers_row, "@c", outer);
  t.mark(outer + 12);
  EXPECT_EQ(t.current().kind, spec_origin::compilers_row);
  EXPECT_EQ(t.current().offset, 12);
  t.push(spec_origin::named, "inner", inner, "my.specs", 7);
  t.mark(inner + 3);
  word_origin o = t.current();
  EXPECT_EQ(o.kind, spec_origin::named);
  EXPECT_STREQ(o.name, "inner");
  EXPECT_STREQ(o.file, "my.specs");
  EXPECT_EQ(o.line, 7);
  EXPECT_EQ(o.offset, 3);
  t.pop();
  t.mark(outer + 12);
  EXPECT_EQ(t.current().kind, spec_origin::compilers_row);
}

TEST(ProvenanceTrace, MapsCopiesBackAndIgnoresTextsOfNoFrame) {
  provenance_trace t;
  const char *spec = "%{O*:-opt %*}";
  t.push(spec_origin::named, "s", spec);
  std::string body(spec + 5, 7);  // "-opt %*", as a conditional body is copied
  {
    provenance_scope copy(&t, body.c_str(), spec + 5);
    t.mark(body.c_str() + 5);
    EXPECT_EQ(t.current().offset, 10);
    // A blank the interpreter adds, or a switch's literal text, keeps the
    // start of the argument in place.
    t.mark(" ");
    EXPECT_EQ(t.current().offset, 10);
  }
  {
    switch_scope from(&t, 4);
    EXPECT_EQ(t.current().switch_index, 4);
    // A word of a switch names the switch, not a command-line word.
    t.note_argument(9);
    EXPECT_EQ(t.current().argv_index, -1);
  }
  EXPECT_EQ(t.current().switch_index, -1);
  EXPECT_EQ(t.current().argv_index, 9);
}

}  // namespace
