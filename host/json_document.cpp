// A SAX reader that builds the document itself, so nesting depth and number forms are checked as
// the text is read: a hostile file is refused with a message instead of exhausting the stack.
#include "json_document.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

namespace quorvel::host {

namespace {

class DomBuilder {
 public:
  using string_t = Json::string_t;

  bool null() { return place(Json(nullptr)); }
  bool boolean(bool v) { return place(Json(v)); }
  bool number_integer(Json::number_integer_t v) { return place(Json(v)); }
  bool number_unsigned(Json::number_unsigned_t v) { return place(Json(v)); }
  bool number_float(Json::number_float_t v, const string_t& text) {
    // The reader turns integers beyond 64 bits into floats; the file format gives a number
    // without fraction or exponent the meaning "Long", so such a number is an error here.
    if (text.find_first_of(".eE") == string_t::npos) return fail("integer " + text + " does not fit in 64 bits");
    if (!std::isfinite(v)) return fail("number " + text + " is out of range for a Double");
    return place(Json(v));
  }
  bool string(string_t& v) { return place(Json(std::move(v))); }
  bool binary(Json::binary_t&) { return fail("binary values are not JSON"); }
  bool start_object(std::size_t) { return open(Json::object()); }
  bool key(string_t& k) {
    if (stack_.back()->size() >= kMaxKeys) return fail("an object with more than " + std::to_string(kMaxKeys) + " keys");
    if (stack_.back()->contains(k)) return fail("duplicate key \"" + k + "\"");
    key_ = std::move(k);
    return true;
  }
  bool end_object() { return close(); }
  bool start_array(std::size_t) { return open(Json::array()); }
  bool end_array() { return close(); }
  bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception& ex) {
    // Drop the library's "[json.exception.parse_error.101] " tag; the rest names line and column.
    std::string what = ex.what();
    const std::size_t tag_end = what.find("] ");
    return fail(tag_end == std::string::npos ? what : what.substr(tag_end + 2));
  }

  Json take() { return std::move(root_); }
  const std::string& error() const { return error_; }

 private:
  bool fail(std::string message) {
    if (error_.empty()) error_ = std::move(message);
    return false;
  }
  Json* put(Json v) {
    if (stack_.empty()) {
      root_ = std::move(v);
      return &root_;
    }
    Json& top = *stack_.back();
    if (top.is_array()) {
      top.push_back(std::move(v));
      return &top.back();
    }
    Json& slot = top[key_];
    slot = std::move(v);
    return &slot;
  }
  bool place(Json v) {
    put(std::move(v));
    return true;
  }
  bool open(Json container) {
    if (stack_.size() >= kMaxDepth) return fail("nested deeper than " + std::to_string(kMaxDepth) + " levels");
    stack_.push_back(put(std::move(container)));
    return true;
  }
  bool close() {
    stack_.pop_back();
    return true;
  }

  Json root_;
  std::vector<Json*> stack_;  // open containers; a parent is not touched while a child is open
  string_t key_;
  std::string error_;
};

void echo_into(const Json& j, std::string& out, std::size_t limit) {
  if (out.size() > limit) return;
  if (j.is_array()) {
    out += '[';
    bool first = true;
    for (const Json& e : j) {
      if (!first) out += ", ";
      first = false;
      echo_into(e, out, limit);
      if (out.size() > limit) return;
    }
    out += ']';
  } else if (j.is_object()) {
    out += '{';
    bool first = true;
    for (auto it = j.begin(); it != j.end(); ++it) {
      if (!first) out += ", ";
      first = false;
      out += Json(it.key()).dump(-1, ' ', false, Json::error_handler_t::replace);
      out += ": ";
      echo_into(it.value(), out, limit);
      if (out.size() > limit) return;
    }
    out += '}';
  } else {
    out += j.dump(-1, ' ', false, Json::error_handler_t::replace);
  }
}

}  // namespace

std::optional<Json> parse_json(const std::string& text, std::string& error) {
  DomBuilder builder;
  bool ok = false;
  try {
    ok = Json::sax_parse(text, &builder, Json::input_format_t::json, true);
  } catch (const std::exception& e) {  // the reader reports through parse_error; this is a backstop
    error = e.what();
    return std::nullopt;
  }
  if (!ok) {
    error = builder.error().empty() ? "not valid JSON" : builder.error();
    return std::nullopt;
  }
  return builder.take();
}

std::optional<Json> read_json_file(const std::string& path, std::string& error) {
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), &std::fclose);
  if (!file) {
    error = std::string("cannot open: ") + std::strerror(errno);
    return std::nullopt;
  }
  std::string text;
  char buffer[1 << 16];
  for (;;) {
    const std::size_t n = std::fread(buffer, 1, sizeof buffer, file.get());
    text.append(buffer, n);
    if (text.size() > kMaxFileBytes) {
      error = "larger than " + std::to_string(kMaxFileBytes >> 20) + " MiB";
      return std::nullopt;
    }
    if (n < sizeof buffer) break;
  }
  if (std::ferror(file.get())) {
    error = std::string("cannot read: ") + std::strerror(errno);
    return std::nullopt;
  }
  return parse_json(text, error);
}

std::string echo(const Json& j, std::size_t limit) {
  std::string out;
  echo_into(j, out, limit);
  if (out.size() > limit) {
    out.resize(limit);
    // Do not leave half a UTF-8 sequence behind.
    while (!out.empty() && (static_cast<unsigned char>(out.back()) & 0xC0) == 0x80) out.pop_back();
    if (!out.empty() && static_cast<unsigned char>(out.back()) >= 0xC0) out.pop_back();
    out += "...";
  }
  return out;
}

}  // namespace quorvel::host
