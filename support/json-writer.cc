// The JSON writer.
#include "support/json-writer.h"

#include <cstdio>

namespace {

bool needs_escape(unsigned char c) { return c < 0x20 || c == '"' || c == '\\' || c == 0x7f; }

}  // namespace

void append_json_string(std::string &out, const char *text) {
  out += '"';
  for (const unsigned char *p = reinterpret_cast<const unsigned char *>(text); *p;) {
    // Runs that need no escape are copied whole.
    const unsigned char *run = p;
    while (*p && !needs_escape(*p))
      ++p;
    out.append(reinterpret_cast<const char *>(run), static_cast<std::size_t>(p - run));
    if (!*p)
      break;
    unsigned char c = *p++;
    switch (c) {
    case '"': out += "\\\""; break;
    case '\\': out += "\\\\"; break;
    case '\n': out += "\\n"; break;
    case '\t': out += "\\t"; break;
    case '\r': out += "\\r"; break;
    case '\b': out += "\\b"; break;
    case '\f': out += "\\f"; break;
    default: {
      char code[8];
      std::snprintf(code, sizeof code, "\\u%04x", c);
      out += code;
    }
    }
  }
  out += '"';
}

void json_writer::before_value() {
  if (after_key_) {
    after_key_ = false;
    return;
  }
  if (!has_member_.empty()) {
    if (has_member_.back())
      out_ += ',';
    has_member_.back() = true;
  }
}

void json_writer::begin_object() {
  before_value();
  out_ += '{';
  has_member_.push_back(false);
}

void json_writer::end_object() {
  has_member_.pop_back();
  out_ += '}';
}

void json_writer::begin_array() {
  before_value();
  out_ += '[';
  has_member_.push_back(false);
}

void json_writer::end_array() {
  has_member_.pop_back();
  out_ += ']';
}

void json_writer::key(const char *name) {
  before_value();
  append_json_string(out_, name);
  out_ += ':';
  after_key_ = true;
}

void json_writer::string(const char *text) {
  if (!text) {
    null();
    return;
  }
  before_value();
  append_json_string(out_, text);
}

void json_writer::number(long long value) {
  before_value();
  out_ += std::to_string(value);
}

void json_writer::boolean(bool value) {
  before_value();
  out_ += value ? "true" : "false";
}

void json_writer::null() {
  before_value();
  out_ += "null";
}
