// A small JSON writer: builds one document in a string.  Texts are written
// as JSON strings (RFC 8259): '"' and '\' escaped, control characters as
// \n, \t ... or \u00XX, every other byte passed through, so UTF-8 stays as
// it is.  Commas between members and elements are placed by the writer.
#ifndef VRK_SUPPORT_JSON_WRITER_H
#define VRK_SUPPORT_JSON_WRITER_H

#include <string>
#include <vector>

class json_writer {
public:
  void begin_object();
  void end_object();
  void begin_array();
  void end_array();
  // The name of the next member of the current object.
  void key(const char *name);
  void string(const char *text);  // null writes null
  void string(const std::string &text) { string(text.c_str()); }
  void number(long long value);
  void boolean(bool value);
  void null();

  // The document; complete once every object and array is closed.
  const std::string &text() const { return out_; }

private:
  void before_value();

  std::string out_;
  // One entry per open object or array: whether it has a member yet.
  std::vector<bool> has_member_;
  bool after_key_ = false;
};

// TEXT as a JSON string, quotes included, appended to OUT.
void append_json_string(std::string &out, const char *text);

#endif
