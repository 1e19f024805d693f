#pragma once
// How an answer's body is kept in the archive. Each stored body names its codec, so bodies of
// every codec live side by side in one file and an older file is brought up to date body by body.
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace trotix {

enum class BodyCodec : int {
  kPlain = 0,     // as it came
  kZstd = 1,      // zstd frame on its own
  kZstdDict = 2,  // zstd frame against the archive's dictionary
  kGrouped = 3,   // a slice of a group of small bodies packed together (body_groups.h)
};

struct PackedBody {
  BodyCodec codec = BodyCodec::kPlain;
  std::string bytes;
};

// Packs and unpacks bodies; one per archive connection. Safe to use from several threads.
class BodyPacker {
 public:
  BodyPacker();
  ~BodyPacker();
  BodyPacker(const BodyPacker&) = delete;
  BodyPacker& operator=(const BodyPacker&) = delete;

  // The dictionary bodies are packed against from now on (trained on the archive's own pages);
  // empty for none.
  void UseDictionary(const std::string& dictionary);
  bool hasDictionary() const;

  // Packed against the dictionary when there is one and the body is of a page's size, else on
  // its own; a body that does not shrink stays plain.
  PackedBody Pack(std::string_view body) const;
  // Many small bodies laid end to end, packed harder than a body alone (a command's regrouping
  // can afford it), against the dictionary when there is one.
  PackedBody PackGroup(std::string_view bodies) const;
  // The body of `size` bytes packed as `bytes`; none when they do not unpack to exactly that.
  std::optional<std::string> Unpack(BodyCodec codec, std::string_view bytes,
                                    std::size_t size) const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

// A dictionary of at most `capacity` bytes trained on `samples` (bodies); empty when they are
// too few or too alike to train on.
std::string TrainBodyDictionary(const std::vector<std::string>& samples, std::size_t capacity);

}  // namespace trotix
