#pragma once
// The options that name the land, shared by "name" and "generate --name-land",
// which spell the count, seed and style differently ("generate" has its own
// --seed, and the SQL output's --domains switch).
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "cli/options.h"
#include "generate/land_naming.h"

namespace mireforge::cli {

struct NamingOptionNames {
  std::string_view Domains;
  std::string_view Seed;
  std::string_view Style;
};
inline constexpr NamingOptionNames NameCommandOptions{"--domains", "--seed", "--style"};
inline constexpr NamingOptionNames GenerateNamingOptions{"--name-domains", "--name-seed", "--name-style"};

// Count, seed, style and --names FILE, for a command's option list.
std::vector<OptionSyntax> NamingOptionSyntax(const NamingOptionNames& names, std::string_view seedHelp);

// The naming options given, the name list read; the seed is fallbackSeed when
// not given. UsageError for a wrong value, Error for an unreadable list.
LandNamingOptions NamingFromOptions(const ParsedOptions& options, const NamingOptionNames& names,
                                    std::int32_t fallbackSeed);

// UsageError when the output's format keeps no descriptions or domains.
void CheckKeepsNames(const std::string& path);

}  // namespace mireforge::cli
