#include "cli/options.h"

#include <algorithm>

namespace mireforge::cli {

namespace {

const OptionSpec* FindOption(const CommandSpec& spec, std::string_view name) {
  for (const OptionSpec& option : spec.Options)
    if (option.Name == name || (!option.ShortName.empty() && option.ShortName == name)) return &option;
  return nullptr;
}

}  // namespace

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

ParsedOptions ParseOptions(const std::vector<std::string>& args, std::size_t first, const CommandSpec& spec) {
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
    const OptionSpec* option = FindOption(spec, name);
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
  if (static_cast<int>(parsed.Positionals.size()) != spec.Positionals) {
    if (spec.Positionals == 0) throw UsageError("unexpected argument '" + parsed.Positionals.front() + "'");
    if (parsed.Positionals.empty()) throw UsageError("missing " + std::string(spec.PositionalNames));
    throw UsageError("too many arguments: '" + parsed.Positionals.back() + "'");
  }
  return parsed;
}

std::string HelpText(const CommandSpec& spec) {
  std::string text = "Usage: mireforge-cli ";
  text += spec.Words;
  if (!spec.Arguments.empty()) text.append(" ").append(spec.Arguments);
  text.append("\n").append(spec.Summary).append("\n");
  if (spec.Options.empty()) return text;

  std::vector<std::string> heads;
  std::size_t widest = 0;
  for (const OptionSpec& option : spec.Options) {
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
    text.append(spec.Options[i].Help).append("\n");
  }
  return text;
}

}  // namespace mireforge::cli
