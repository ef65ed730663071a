// Names in any letter case, and the known name a mistyped one probably meant, for messages that
// say "did you mean ...?".
#pragma once

#include <string>
#include <vector>

namespace pmx {

// A letter A-Z in lower case; every other byte as it is.
inline char lowerAscii(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Whether two names are the same in ASCII letters of any case.
bool sameName(const std::string& a, const std::string& b);

// The name among `names` closest to `name` in ASCII letters of any case: fewest characters
// inserted, deleted, replaced or swapped with their neighbour, at most two and fewer than half
// of the name's characters. Empty when none is that close, or when two differ as little.
std::string nearestName(const std::string& name, const std::vector<std::string>& names);

}  // namespace pmx
