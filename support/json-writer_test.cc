#include "support/json-writer.h"

#include <gtest/gtest.h>

namespace {

std::string quoted(const char *text) {
  std::string out;
  append_json_string(out, text);
  return out;
}

TEST(JsonString, EscapesQuotesBackslashesAndControlCharacters) {
  EXPECT_EQ(quoted("a\"b\\c"), "\"a\\\"b\\\\c\"");
  EXPECT_EQ(quoted("\n\t\r\b\f"), "\"\\n\\t\\r\\b\\f\"");
  EXPECT_EQ(quoted("\x01\x1f\x7f"), "\"\\u0001\\u001f\\u007f\"");
  EXPECT_EQ(quoted(""), "\"\"");
}

TEST(JsonString, PassesUtf8Through) {
  EXPECT_EQ(quoted("Gr\xc3\xbc\xc3\x9f" "e \xe2\x82\xac"), "\"Gr\xc3\xbc\xc3\x9f" "e \xe2\x82\xac\"");
  // Bytes that are not valid UTF-8 pass through as well: the words are the
  // children's, byte for byte.
  EXPECT_EQ(quoted("\xff"), "\"\xff\"");
}

TEST(JsonWriter, PlacesCommasBetweenMembersAndElements) {
  json_writer w;
  w.begin_object();
  w.key("a");
  w.begin_array();
  w.number(1);
  w.string("x");
  w.null();
  w.boolean(false);
  w.begin_object();
  w.end_object();
  w.end_array();
  w.key("b");
  w.string(nullptr);
  w.key("c");
  w.begin_array();
  w.end_array();
  w.end_object();
  EXPECT_EQ(w.text(), "{\"a\":[1,\"x\",null,false,{}],\"b\":null,\"c\":[]}");
}

}  // namespace
