// The valid word nearest to a mistyped one.
#include "host/rtl/NearestWord.h"

#include <algorithm>
#include <cctype>

#include "host/rtl/SysUtils.h"

namespace {

std::string Lower(std::string_view Text) {
  std::string out(Text);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

// Edits between two words, an adjacent swap counting as one (optimal string alignment).
size_t Distance(const std::string& A, const std::string& B) {
  std::vector<std::vector<size_t>> d(A.size() + 1, std::vector<size_t>(B.size() + 1));
  for (size_t i = 0; i <= A.size(); ++i) d[i][0] = i;
  for (size_t j = 0; j <= B.size(); ++j) d[0][j] = j;
  for (size_t i = 1; i <= A.size(); ++i)
    for (size_t j = 1; j <= B.size(); ++j) {
      d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + (A[i - 1] == B[j - 1] ? 0 : 1)});
      if (i > 1 && j > 1 && A[i - 1] == B[j - 2] && A[i - 2] == B[j - 1])
        d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
    }
  return d[A.size()][B.size()];
}

}  // namespace

std::string NearestWord(std::string_view Word, const std::vector<std::string>& Candidates) {
  // A word that begins exactly one candidate means that one.
  std::string nearest;
  for (const std::string& candidate : Candidates) {
    if (Word.size() < 2 || !candidate.starts_with(Word)) continue;
    if (!nearest.empty()) {
      nearest.clear();
      break;
    }
    nearest = candidate;
  }
  if (!nearest.empty()) return nearest;
  const std::string word = Lower(Word);
  size_t best = std::min(std::max<size_t>(1, word.size() / 3) + 1, word.size());
  for (const std::string& candidate : Candidates) {
    size_t d = Distance(word, Lower(candidate));
    if (d < best) {
      best = d;
      nearest = candidate;
    }
  }
  return nearest;
}

std::string DidYouMean(std::string_view Word, const std::vector<std::string>& Candidates) {
  std::string nearest = NearestWord(Word, Candidates);
  return nearest.empty() ? std::string() : "; did you mean " + Quoted(nearest) + "?";
}
