#pragma once
// The pieces the archive's packed rows are laid out with: numbers as varints (signed ones
// zigzagged), texts front-coded against the one before, and a reader that notes any damage
// rather than reading past the end.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace trotix {

inline void PutVarint(std::string& out, uint64_t v) {
  while (v >= 0x80) {
    out += static_cast<char>((v & 0x7f) | 0x80);
    v >>= 7;
  }
  out += static_cast<char>(v);
}

inline uint64_t ZigZag(int64_t v) {
  return (static_cast<uint64_t>(v) << 1) ^ static_cast<uint64_t>(v >> 63);
}

inline int64_t UnZigZag(uint64_t v) {
  return static_cast<int64_t>(v >> 1) ^ -static_cast<int64_t>(v & 1);
}

// `sum` plus a step read from a pack, wrapping as unsigned numbers do: a damaged step gives a
// wrong number, never an overflow.
inline long long AddStep(long long sum, uint64_t zigzag) {
  return static_cast<long long>(static_cast<uint64_t>(sum) +
                                static_cast<uint64_t>(UnZigZag(zigzag)));
}

// Each text as the length it shares with the one before and the rest: the queries of a race's
// runner pages and the times of a command's answers differ in their last few characters.
class FrontCoder {
 public:
  void Put(std::string& out, const std::string& text) {
    const std::size_t n = std::min(text.size(), last_.size());
    std::size_t shared = 0;
    while (shared < n && text[shared] == last_[shared]) ++shared;
    PutVarint(out, shared);
    PutVarint(out, text.size() - shared);
    out.append(text, shared);
    last_ = text;
  }

 private:
  std::string last_;
};

class FieldReader {
 public:
  explicit FieldReader(std::string_view bytes) : bytes_(bytes) {}
  bool ok() const { return ok_; }
  bool done() const { return at_ == bytes_.size(); }
  // What was read makes no sense where it stands: the bytes are damaged.
  void Fail() { ok_ = false; }

  uint64_t Varint() {
    uint64_t v = 0;
    for (int shift = 0; shift < 64; shift += 7) {
      if (at_ >= bytes_.size()) break;
      const auto byte = static_cast<unsigned char>(bytes_[at_++]);
      v |= static_cast<uint64_t>(byte & 0x7f) << shift;
      if ((byte & 0x80) == 0) return v;
    }
    ok_ = false;
    return 0;
  }

  int Byte() {
    if (at_ >= bytes_.size()) {
      ok_ = false;
      return 0;
    }
    return static_cast<unsigned char>(bytes_[at_++]);
  }

  // The next `n` bytes as they are.
  std::string_view Take(uint64_t n) {
    if (!ok_ || n > bytes_.size() - at_) {
      ok_ = false;
      return {};
    }
    const std::string_view taken = bytes_.substr(at_, n);
    at_ += n;
    return taken;
  }

  // A text FrontCoder put, `last` being the one before it.
  std::string Text(std::string& last) {
    const uint64_t shared = Varint(), rest = Varint();
    if (!ok_ || shared > last.size() || rest > bytes_.size() - at_) {
      ok_ = false;
      return {};
    }
    last.resize(shared);
    last.append(bytes_.substr(at_, rest));
    at_ += rest;
    return last;
  }

 private:
  std::string_view bytes_;
  std::size_t at_ = 0;
  bool ok_ = true;
};

}  // namespace trotix
