// Reading group bodies: a body nested in another, read by stepping over
// the brace pairs its enclosing body listed, ends where a reading of its
// text ends, with the same pairs.
#include <gtest/gtest.h>

#include <string>

#include "spec/group-text.h"

namespace {

void expect_same_piece(const group_piece &a, const group_piece &b, std::size_t at) {
  EXPECT_EQ(a.body_end, b.body_end) << at;
  EXPECT_EQ(a.next, b.next) << at;
  EXPECT_EQ(a.ending, b.ending) << at;
  EXPECT_EQ(a.substitution, b.substitution) << at;
  ASSERT_EQ(a.braces.size(), b.braces.size()) << at;
  for (std::size_t k = 0; k < a.braces.size(); k++) {
    EXPECT_EQ(a.braces[k].open, b.braces[k].open) << at;
    EXPECT_EQ(a.braces[k].close, b.braces[k].close) << at;
  }
}

TEST(GroupBodies, NestedBodiesReadBySteppingMatchTheirText) {
  // The group text after "%{": the first body holds groups three deep,
  // blanks before its end, a substitution at its own depth and one deeper.
  const char *group = "S:x %{T:%{U:u;V:%*} y;W:{w}}%{X:x%{Y:%{Z:z}}} %* end ;rest}";
  group_piece outer;
  read_body_piece(group, 2, outer, nullptr);
  EXPECT_EQ(outer.ending, ';');
  EXPECT_TRUE(outer.substitution);
  std::string copy(group + outer.at, outer.body_end - outer.at);
  EXPECT_EQ(copy.back(), 'd');  // the blank before ";" is not the body's

  // Every body of a group nested in the copy, at every depth.
  body_text enclosing{copy.c_str(), copy.size(), &outer.braces, false};
  int bodies = 0;
  for (std::size_t at = 1; at < copy.size(); at++) {
    if (copy[at - 1] != ':')
      continue;
    group_piece stepped, scanned;
    read_body_piece(copy.c_str(), at, stepped, &enclosing);
    read_body_piece(copy.c_str(), at, scanned, nullptr);
    expect_same_piece(stepped, scanned, at);
    bodies++;
  }
  EXPECT_EQ(bodies, 7);

  // A body nested two deep, stepped through its own enclosing body.
  group_piece t_body;
  std::size_t t_at = copy.find("T:") + 2;
  read_body_piece(copy.c_str(), t_at, t_body, &enclosing);
  EXPECT_TRUE(!t_body.substitution && t_body.ending == ';');
  std::string inner(copy.c_str() + t_at, t_body.body_end - t_at);
  EXPECT_EQ(inner, "%{U:u;V:%*} y");
  body_text t_text{inner.c_str(), inner.size(), &t_body.braces, false};
  group_piece v_stepped, v_scanned;
  std::size_t v_at = inner.find("V:") + 2;
  read_body_piece(inner.c_str(), v_at, v_stepped, &t_text);
  read_body_piece(inner.c_str(), v_at, v_scanned, nullptr);
  expect_same_piece(v_stepped, v_scanned, v_at);
  EXPECT_TRUE(v_stepped.substitution);
}

} // namespace
