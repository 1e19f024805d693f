#include "analysis/zorvat/words.h"

#include "text/name_number.h"
#include "text/strings.h"

namespace trotix {

std::vector<std::string> SplitWords(std::string_view text) {
  std::vector<std::string> words;
  std::string word;
  for (std::size_t i = 0; i + 1 < text.size(); ++i) {
    if (text[i] == ' ') {
      words.push_back(std::move(word));
      word.clear();
    } else {
      word += text[i];
    }
  }
  return words;
}

std::string JoinWords(const std::vector<std::string>& words) {
  std::string out;
  for (const auto& w : words) out.append(w).push_back(' ');
  return out;
}

std::string CapitalizeWords(const std::vector<std::string>& words) {
  std::string out;
  for (const auto& w : words) {
    std::string word = Lower(w);
    if (!word.empty()) word[0] = Upper(word.substr(0, 1))[0];
    out.append(word).push_back(' ');
  }
  return Trim(out);
}

int WordsNumber(const std::vector<std::string>& words) {
  long long sum = 0;
  for (const auto& w : words) sum += NameNumber(w);
  return DigitalRoot(sum);
}

int LetterValue(char c) {
  static constexpr int kValues[26] = {1, 2, 3, 4, 5, 8, 3, 8, 1, 3, 2, 3, 4,
                                      5, 8, 8, 3, 2, 6, 4, 6, 6, 6, 7, 1, 7};
  if (c >= 'a' && c <= 'z') return kValues[c - 'a'];
  if (c >= 'A' && c <= 'Z') return kValues[c - 'A'];
  return 0;
}

int FoldNumber(int n) {
  if (n == 4) return 1;
  if (n == 7) return 2;
  return n;
}

}  // namespace trotix
