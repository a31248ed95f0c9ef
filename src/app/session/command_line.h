#pragma once
// The editor's own command line. --help and --version are answered before Qt
// starts, so they work without a display; a missing display is told in one
// line instead of Qt's abort.
#include <QString>
#include <QStringList>
#include <string>

namespace mireforge {

enum class EarlyAnswer { None, Help, Version };

// --help / -h or --version among the arguments (before a "--").
EarlyAnswer EarlyAnswerOf(int argc, char** argv);
std::string EditorHelpText();
std::string EditorVersionText();

// One line saying why no window can open, or empty when Qt may try: no
// platform chosen and neither an X11 nor a Wayland display named.
std::string MissingDisplay(int argc, char** argv);

// Until EndGuardedStart, a display Qt cannot open ends the program with
// one line and exit status 1 instead of Qt's abort; Qt's start-up
// messages are held back and shown afterwards when the start went well.
void BeginGuardedStart();
void EndGuardedStart();

// What remains once Qt took its own options: the file to open, the other
// file names (ignored), and the first unknown option.
struct EditorArguments {
  QString file;
  QStringList ignoredFiles;
  QString unknownOption;
};
EditorArguments SortEditorArguments(const QStringList& arguments);  // without the program name

}  // namespace mireforge
