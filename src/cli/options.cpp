#include "cli/options.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace mireforge::cli {

namespace {

const OptionSyntax* FindOption(const std::vector<OptionSyntax>& list, std::string_view name) {
  for (const OptionSyntax& option : list)
    if (option.Name == name || (!option.ShortName.empty() && option.ShortName == name)) return &option;
  return nullptr;
}

const OptionSyntax* FindOption(const CommandSyntax& syntax, std::string_view name) {
  const OptionSyntax* own = FindOption(syntax.Options, name);
  return own ? own : FindOption(CommonOptions(), name);
}

}  // namespace

const std::vector<OptionSyntax>& CommonOptions() {
  static const std::vector<OptionSyntax> options = {
      {"--quiet", "-q", "", "print no progress and no report lines (seeds, sizes); errors still"},
  };
  return options;
}

bool ParsedOptions::Has(std::string_view name) const {
  return std::any_of(given_.begin(), given_.end(), [&](const auto& entry) { return entry.first == name; });
}

const std::string* ParsedOptions::Value(std::string_view name) const {
  for (auto it = given_.rbegin(); it != given_.rend(); ++it)
    if (it->first == name) return &it->second;
  return nullptr;
}

bool ParsedOptions::Switch(std::string_view on, std::string_view off, bool fallback) const {
  for (auto it = given_.rbegin(); it != given_.rend(); ++it) {
    if (it->first == on) return true;
    if (it->first == off) return false;
  }
  return fallback;
}

bool WantsHelp(const std::vector<std::string>& args, std::size_t first) {
  for (std::size_t i = first; i < args.size(); ++i) {
    if (args[i] == "--") return false;
    if (args[i] == "--help" || args[i] == "-h") return true;
  }
  return false;
}

ParsedOptions ParseOptions(const std::vector<std::string>& args, std::size_t first, const CommandSyntax& syntax) {
  ParsedOptions parsed;
  bool optionsEnded = false;
  for (std::size_t i = first; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
      parsed.Positionals.push_back(arg);
      continue;
    }
    if (arg == "--") {
      optionsEnded = true;
      continue;
    }
    const std::size_t equals = arg.rfind("--", 0) == 0 ? arg.find('=') : std::string::npos;
    const std::string name = arg.substr(0, equals);
    const OptionSyntax* option = FindOption(syntax, name);
    if (!option) throw UsageError("unknown option '" + name + "'");
    if (option->ValueName.empty()) {
      if (equals != std::string::npos) throw UsageError("option '" + name + "' takes no value");
      parsed.given_.emplace_back(option->Name, std::string());
      continue;
    }
    std::string value;
    if (equals != std::string::npos) {
      value = arg.substr(equals + 1);
    } else {
      if (i + 1 >= args.size()) throw UsageError("option '" + name + "' needs a value " + std::string(option->ValueName));
      value = args[++i];
    }
    parsed.given_.emplace_back(option->Name, std::move(value));
  }
  if (static_cast<int>(parsed.Positionals.size()) != syntax.Positionals) {
    if (syntax.Positionals == 0) throw UsageError("unexpected argument '" + parsed.Positionals.front() + "'");
    if (parsed.Positionals.empty()) throw UsageError("missing " + std::string(syntax.PositionalNames));
    throw UsageError("too many arguments: '" + parsed.Positionals.back() + "'");
  }
  return parsed;
}

int IntegerOption(const ParsedOptions& options, std::string_view name, int fallback, int min, int max) {
  const std::string* text = options.Value(name);
  if (!text) return fallback;
  int value = 0;
  const char* end = text->data() + text->size();
  const auto [stop, error] = std::from_chars(text->data(), end, value);
  if (text->empty() || error != std::errc() || stop != end || value < min || value > max)
    throw UsageError(std::string(name) + " takes a whole number from " + std::to_string(min) + " to " +
                     std::to_string(max) + ", not '" + *text + "'");
  return value;
}

int ChoiceOption(const ParsedOptions& options, std::string_view name, const std::vector<std::string_view>& choices,
                 int fallback) {
  const std::string* text = options.Value(name);
  if (!text) return fallback;
  std::string lower;
  for (char c : *text) lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  std::string list;
  for (std::size_t i = 0; i < choices.size(); ++i) {
    if (choices[i] == lower) return static_cast<int>(i);
    list += i == 0 ? "" : i + 1 == choices.size() ? " or " : ", ";
    list += choices[i];
  }
  throw UsageError(std::string(name) + " takes " + list + ", not '" + *text + "'");
}

std::string HelpText(const CommandSyntax& syntax) {
  std::string text = "Usage: mireforge-cli ";
  text += syntax.Words;
  if (!syntax.Arguments.empty()) text.append(" ").append(syntax.Arguments);
  text.append("\n").append(syntax.Summary).append("\n");
  std::vector<OptionSyntax> options = syntax.Options;
  options.insert(options.end(), CommonOptions().begin(), CommonOptions().end());
  std::vector<std::string> heads;
  std::size_t widest = 0;
  for (const OptionSyntax& option : options) {
    std::string head = "  ";
    if (!option.ShortName.empty()) head.append(option.ShortName).append(", ");
    head += option.Name;
    if (!option.ValueName.empty()) head.append(" ").append(option.ValueName);
    widest = std::max(widest, head.size());
    heads.push_back(std::move(head));
  }
  text += "\nOptions:\n";
  for (std::size_t i = 0; i < heads.size(); ++i) {
    text += heads[i];
    text.append(widest + 2 - heads[i].size(), ' ');
    text.append(options[i].Help).append("\n");
  }
  return text;
}

}  // namespace mireforge::cli
