#pragma once
// Command-line options of mireforge-cli: a small declarative parser, so each
// command lists its options once and gets parsing and --help from that list.
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace mireforge::cli {

// A mistake in the command line itself: exit status 2.
class UsageError : public std::runtime_error {
 public:
  explicit UsageError(const std::string& message) : std::runtime_error(message) {}
};

struct OptionSyntax {
  std::string_view Name;       // "--width"
  std::string_view ShortName;  // "-o", or empty
  std::string_view ValueName;  // "N" for an option with a value; empty for a switch
  std::string_view Help;
};

struct CommandSyntax {
  std::string_view Words;      // "generate plasma": what follows the program name
  std::string_view Arguments;  // "[options] -o FILE"
  std::string_view Summary;
  std::vector<OptionSyntax> Options;
  int Positionals = 0;         // exact number of operands
  std::string_view PositionalNames;  // "IN", for messages
};

// Options every command takes besides its own.
const std::vector<OptionSyntax>& CommonOptions();

class ParsedOptions {
 public:
  bool Has(std::string_view name) const;
  // The last value given for the option, or nullptr.
  const std::string* Value(std::string_view name) const;
  // Of two opposite switches, the one given last decides; neither gives fallback.
  bool Switch(std::string_view on, std::string_view off, bool fallback) const;

  std::vector<std::string> Positionals;

 private:
  friend ParsedOptions ParseOptions(const std::vector<std::string>&, std::size_t, const CommandSyntax&);
  std::vector<std::pair<std::string_view, std::string>> given_;  // in command-line order
};

// True when "--help" or "-h" stands among args[first..] before any "--".
bool WantsHelp(const std::vector<std::string>& args, std::size_t first);

// Parses args[first..] against the command's options; throws UsageError.
// Accepts "--name value", "--name=value", "-o value" and "--" ending the options.
ParsedOptions ParseOptions(const std::vector<std::string>& args, std::size_t first, const CommandSyntax& syntax);

// The value of an option that takes a whole number from min to max; fallback
// when it is not given. UsageError for anything else.
int IntegerOption(const ParsedOptions& options, std::string_view name, int fallback, int min, int max);

// The value of an option that names one of choices (case ignored): its index,
// or fallback when it is not given. UsageError for any other word.
int ChoiceOption(const ParsedOptions& options, std::string_view name, const std::vector<std::string_view>& choices,
                 int fallback);

// The --help text of a command.
std::string HelpText(const CommandSyntax& syntax);

}  // namespace mireforge::cli
