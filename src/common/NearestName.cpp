#include "common/NearestName.h"

#include <algorithm>

namespace pmx {

namespace {

// Edits from one text to the other, a swap of neighbours counting as one.
std::size_t editDistance(const std::string& a, const std::string& b) {
  std::vector<std::vector<std::size_t>> d(a.size() + 1, std::vector<std::size_t>(b.size() + 1));
  for (std::size_t i = 0; i <= a.size(); ++i) d[i][0] = i;
  for (std::size_t j = 0; j <= b.size(); ++j) d[0][j] = j;
  for (std::size_t i = 1; i <= a.size(); ++i) {
    for (std::size_t j = 1; j <= b.size(); ++j) {
      const bool same = lowerAscii(a[i - 1]) == lowerAscii(b[j - 1]);
      d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + (same ? 0 : 1)});
      if (i > 1 && j > 1 && lowerAscii(a.at(i - 1)) == lowerAscii(b.at(j - 2)) &&
          lowerAscii(a.at(i - 2)) == lowerAscii(b.at(j - 1))) {
        d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
      }
    }
  }
  return d[a.size()][b.size()];
}

}  // namespace

bool sameName(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return lowerAscii(x) == lowerAscii(y);
         });
}

std::string nearestName(const std::string& name, const std::vector<std::string>& names) {
  std::string best;
  std::size_t bestDistance = 0;
  bool tie = false;
  for (const std::string& candidate : names) {
    // Lengths more than two apart are more than two edits apart.
    if (name.size() > candidate.size() + 2 || candidate.size() > name.size() + 2) continue;
    const std::size_t distance = editDistance(name, candidate);
    if (distance > 2 || distance * 2 >= name.size()) continue;
    if (best.empty() || distance < bestDistance) {
      best = candidate;
      bestDistance = distance;
      tie = false;
    } else if (distance == bestDistance && !sameName(best, candidate)) {
      tie = true;
    }
  }
  return tie ? std::string() : best;
}

}  // namespace pmx
