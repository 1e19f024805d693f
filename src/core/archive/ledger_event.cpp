#include "archive/ledger_event.h"

#include <charconv>
#include <nlohmann/json.hpp>

namespace trotix {
namespace {

// The length of the UTF-8 sequence at `i`, 0 when there is none.
std::size_t Utf8Length(std::string_view t, std::size_t i) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(t[k]); };
  const unsigned char c = byte(i);
  if (c < 0x80) return 1;
  std::size_t n = 0;
  unsigned min = 0;
  if ((c & 0xE0) == 0xC0) {
    n = 2;
    min = 0x80;
  } else if ((c & 0xF0) == 0xE0) {
    n = 3;
    min = 0x800;
  } else if ((c & 0xF8) == 0xF0) {
    n = 4;
    min = 0x10000;
  } else {
    return 0;
  }
  if (i + n > t.size()) return 0;
  unsigned code = c & (0x7F >> n);
  for (std::size_t k = 1; k < n; ++k) {
    if ((byte(i + k) & 0xC0) != 0x80) return 0;
    code = (code << 6) | (byte(i + k) & 0x3F);
  }
  if (code < min || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0;
  return n;
}

}  // namespace

std::string ValidUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t n = Utf8Length(text, i);
    if (n == 0) {
      out += "\xEF\xBF\xBD";
      ++i;
    } else {
      out.append(text.substr(i, n));
      i += n;
    }
  }
  return out;
}

std::string PriceText(const std::optional<double>& price) {
  if (!price) return {};
  char buf[64];
  const auto end = std::to_chars(buf, buf + sizeof buf, *price, std::chars_format::fixed, 2).ptr;
  return std::string(buf, end);
}

std::optional<double> PriceOfText(std::string_view text) {
  if (text.empty()) return std::nullopt;
  double value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

nlohmann::json EventJson(const LedgerEvent& e) {
  return nlohmann::json{{"seq", e.seq},       {"kind", e.kind},         {"at", e.at},
                        {"day", e.day},       {"time", e.time},         {"course", e.course},
                        {"runner", e.runner}, {"system", e.system},     {"source", e.source},
                        {"run", e.run},       {"price", e.price},       {"odds", e.odds},
                        {"result", e.result}, {"position", e.position}, {"sp", e.sp}};
}

std::optional<LedgerEvent> EventOfJson(const nlohmann::json& o) {
  if (!o.is_object() || o.size() != 15) return std::nullopt;
  LedgerEvent e;
  const auto text = [&](const char* key, std::string& out) {
    const auto it = o.find(key);
    if (it == o.end() || !it->is_string()) return false;
    out = it->get<std::string>();
    return true;
  };
  const auto integer = [&](const char* key, long long& out) {
    const auto it = o.find(key);
    if (it == o.end() || !it->is_number_integer()) return false;
    out = it->get<long long>();
    return true;
  };
  if (integer("seq", e.seq) && text("kind", e.kind) && text("at", e.at) && text("day", e.day) &&
      text("time", e.time) && text("course", e.course) && text("runner", e.runner) &&
      text("system", e.system) && text("source", e.source) && integer("run", e.run) &&
      text("price", e.price) && text("odds", e.odds) && text("result", e.result) &&
      text("position", e.position) && text("sp", e.sp))
    return e;
  return std::nullopt;
}

std::string CanonicalText(const nlohmann::json& value) {
  // nlohmann keeps an object's keys sorted and writes no whitespace at indent -1; with
  // ensure_ascii off it escapes only quotes, backslashes and control characters, as
  // json.dumps(…, sort_keys=True, separators=(',', ':'), ensure_ascii=False) does.
  return value.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

std::string CanonicalText(const LedgerEvent& e) {
  // By hand, with the keys in their sorted order: verifying a long ledger builds this text for
  // every event. The tests hold it to the JSON library's text.
  std::string out;
  out.reserve(256);
  bool first = true;
  const auto key = [&](const char* name) {
    out += first ? "{\"" : ",\"";
    first = false;
    out += name;
    out += "\":";
  };
  const auto text = [&](const char* name, const std::string& value) {
    key(name);
    out += '"';
    for (const char ch : value) {
      const auto c = static_cast<unsigned char>(ch);
      switch (c) {
        case '"':
          out += "\\\"";
          break;
        case '\\':
          out += "\\\\";
          break;
        case '\b':
          out += "\\b";
          break;
        case '\f':
          out += "\\f";
          break;
        case '\n':
          out += "\\n";
          break;
        case '\r':
          out += "\\r";
          break;
        case '\t':
          out += "\\t";
          break;
        default:
          if (c < 0x20) {
            static constexpr char kHex[] = "0123456789abcdef";
            out += "\\u00";
            out += kHex[c >> 4];
            out += kHex[c & 15];
          } else {
            out += ch;
          }
      }
    }
    out += '"';
  };
  const auto integer = [&](const char* name, long long value) {
    key(name);
    out += std::to_string(value);
  };
  text("at", e.at);
  text("course", e.course);
  text("day", e.day);
  text("kind", e.kind);
  text("odds", e.odds);
  text("position", e.position);
  text("price", e.price);
  text("result", e.result);
  integer("run", e.run);
  text("runner", e.runner);
  integer("seq", e.seq);
  text("source", e.source);
  text("sp", e.sp);
  text("system", e.system);
  text("time", e.time);
  out += '}';
  return out;
}

}  // namespace trotix
