// mireforge-man: writes the manual page of mireforge-cli in roff, from the same
// command and option tables that its --help prints, so the two cannot drift.
// Usage: mireforge-man [OUTPUT]   (standard output when OUTPUT is missing)
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <string_view>

#include "cli/commands.h"
#include "formats/map_files.h"

namespace {

using mireforge::cli::CommandSyntax;
using mireforge::cli::OptionSyntax;

// Text safe inside a roff line: backslashes doubled as \e, hyphens as \- (so
// options can be searched and copied), and a leading dot or quote neutralised.
std::string Roff(std::string_view text) {
  std::string out;
  if (!text.empty() && (text.front() == '.' || text.front() == '\'')) out += "\\&";
  for (const char c : text) {
    if (c == '\\') out += "\\e";
    else if (c == '-') out += "\\-";
    else if (c == '\n') out += ' ';  // one paragraph per help text
    else out += c;
  }
  return out;
}

std::string Synopsis(const CommandSyntax& syntax) {
  std::string line = ".B mireforge\\-cli\n.B " + Roff(syntax.Words) + "\n";
  if (!syntax.Arguments.empty()) line += Roff(syntax.Arguments) + "\n";
  return line;
}

std::string OptionHead(const OptionSyntax& option) {
  std::string head = "\\fB";
  if (!option.ShortName.empty()) head += Roff(option.ShortName) + "\\fR, \\fB";
  head += Roff(option.Name) + "\\fR";
  if (!option.ValueName.empty()) head += " \\fI" + Roff(option.ValueName) + "\\fR";
  return head;
}

std::string ManPage() {
  std::ostringstream page;
  page << ".TH MIREFORGE\\-CLI 1 \"\" \"Mireforge " << MIREFORGE_VERSION << "\" \"User Commands\"\n"
       << ".SH NAME\n"
       << "mireforge\\-cli \\- generate, convert, transform and inspect Midnight/MU terrain maps\n"
       << ".SH SYNOPSIS\n";
  for (const auto& command : mireforge::cli::Commands()) page << ".PP\n" << Synopsis(command.Syntax());
  page << ".PP\n.B mireforge\\-cli\n.I COMMAND\n.B \\-\\-help\n"
       << ".SH DESCRIPTION\n"
       << ".B mireforge\\-cli\n"
       << "is the command-line tool of Mireforge, the terrain map editor for the game Midnight/MU. "
          "It works without a display, for batch generation, conversion and export on a server.\n"
       << ".PP\nMap files are read and written by their extension: read from " << Roff(mireforge::LoadableExtensions())
       << ", written to " << Roff(mireforge::SavableExtensions())
       << ". A Tiled map (.tmx, .tmj) is written with its terrain tileset (mireforge\\-terrain.tsx and .png) "
          "and its domain picture beside it; a CSV map (.csv) with its domain numbers in NAME\\-domains.csv.\n"
       << ".PP\nThe transforms (resize, crop, flip, rotate) carry each cell's description and domain with it.\n"
       << ".PP\n.B name\n(and \\fBgenerate \\-\\-name\\-land\\fR) divides the inside of the frozen-wastes ring into realms "
          "(domains 1 up), names every forest, downs, mountain range and lake, and gives every site its own name, in "
          "descriptions such as \"Forest of Thrennor\"; plains take their realm's name. The same map, count, seed, "
          "style and list give the same file.\n"
       << ".SH COMMANDS\n";
  for (const auto& command : mireforge::cli::Commands()) {
    const CommandSyntax& syntax = command.Syntax();
    page << ".SS \"" << Roff(syntax.Words);
    if (!syntax.Arguments.empty()) page << " " << Roff(syntax.Arguments);
    page << "\"\n" << Roff(syntax.Summary) << "\n";
    for (const OptionSyntax& option : syntax.Options)
      page << ".TP\n" << OptionHead(option) << "\n" << Roff(option.Help) << "\n";
  }
  page << ".SH COMMON OPTIONS\nEvery command takes these besides its own.\n";
  for (const OptionSyntax& option : mireforge::cli::CommonOptions())
    page << ".TP\n" << OptionHead(option) << "\n" << Roff(option.Help) << "\n";
  page << ".PP\n\\fB\\-o \\-\\fR writes the file to standard output; \\fB\\-\\-format\\fR \\fIEXT\\fR names its format, "
          "and report lines such as the seeds go to standard error instead.\n";
  page << ".SH EXIT STATUS\n"
       << ".TP\n.B 0\nsuccess\n"
       << ".TP\n.B 1\nthe operation failed (a file could not be read or written); the message says why\n"
       << ".TP\n.B 2\nthe command line is wrong, including a value out of its range or not a number\n"
       << ".SH SEE ALSO\n"
       << "\\fBmireforge\\-cli\\fR \\fICOMMAND\\fR \\fB\\-\\-help\\fR prints the same option lists.\n";
  return page.str();
}

}  // namespace

int main(int argc, char** argv) {
  const std::string page = ManPage();
  if (argc < 2) {
    std::cout << page;
    return std::cout.flush() ? 0 : 1;
  }
  std::ofstream file(argv[1], std::ios::binary | std::ios::trunc);
  file << page;
  file.close();
  if (!file) {
    std::cerr << "mireforge-man: cannot write " << argv[1] << "\n";
    return 1;
  }
  return 0;
}
