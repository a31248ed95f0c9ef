#pragma once
// The user's list of names for naming the land: a text file, one name a line,
// in UTF-8 or Windows-1252 as the other text files.
#include <string>
#include <vector>

namespace mireforge {

// Error when the file cannot be read or a name is too long (see ParseNameList).
std::vector<std::string> ReadNameList(const std::string& path);

}  // namespace mireforge
