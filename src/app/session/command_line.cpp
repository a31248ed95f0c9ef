#include "app/session/command_line.h"

#include <QtGlobal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace mireforge {

namespace {

bool Set(const char* variable) {
  const char* value = std::getenv(variable);
  return value && *value;
}

std::vector<std::string>& HeldMessages() {
  static std::vector<std::string> messages;
  return messages;
}

void GuardedStartHandler(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type != QtFatalMsg) {
    HeldMessages().push_back(message.toStdString());
    return;
  }
  const char* display = std::getenv("DISPLAY");
  std::fprintf(stderr, "mireforge: cannot open a window on the display%s%s; mireforge-cli works without one\n",
               display && *display ? " " : "", display && *display ? display : "");
  std::fflush(stderr);
  std::_Exit(1);
}

}  // namespace

EarlyAnswer EarlyAnswerOf(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--") == 0) break;
    if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) return EarlyAnswer::Help;
    if (std::strcmp(argv[i], "--version") == 0) return EarlyAnswer::Version;
  }
  return EarlyAnswer::None;
}

std::string EditorHelpText() {
  return "Usage: mireforge [FILE]\n"
         "The Mireforge editor: generates and edits terrain maps for Midnight/MU.\n"
         "\n"
         "FILE is opened at start: a project (.mfp), a Midnight/MU map (.php, .mmf)\n"
         "or a preview image (.bmp, .png).\n"
         "\n"
         "Options:\n"
         "  -h, --help     print this text and exit\n"
         "  --version      print the version and exit\n"
         "Qt's own options (-platform NAME, -style NAME, ...) are understood too.\n"
         "mireforge-cli does the same work without a display.\n";
}

std::string EditorVersionText() { return std::string("mireforge ") + MIREFORGE_VERSION + "\n"; }

std::string MissingDisplay(int argc, char** argv) {
#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN)
  if (Set("QT_QPA_PLATFORM") || Set("DISPLAY") || Set("WAYLAND_DISPLAY")) return {};
  for (int i = 1; i < argc; ++i)
    if (std::strcmp(argv[i], "-platform") == 0 || std::strcmp(argv[i], "--platform") == 0) return {};
  return "mireforge: no display to open the editor on (DISPLAY is not set); mireforge-cli works without one";
#else
  (void)argc;
  (void)argv;
  return {};
#endif
}

void BeginGuardedStart() {
  HeldMessages().clear();
  qInstallMessageHandler(GuardedStartHandler);
}

void EndGuardedStart() {
  qInstallMessageHandler(nullptr);
  for (const std::string& message : HeldMessages()) std::fprintf(stderr, "%s\n", message.c_str());
  HeldMessages().clear();
}

EditorArguments SortEditorArguments(const QStringList& arguments) {
  EditorArguments sorted;
  bool optionsEnded = false;
  for (const QString& argument : arguments) {
    if (!optionsEnded && argument == "--") {
      optionsEnded = true;
    } else if (!optionsEnded && argument.size() > 1 && argument.startsWith('-')) {
      if (sorted.unknownOption.isEmpty()) sorted.unknownOption = argument;
    } else if (sorted.file.isEmpty()) {
      sorted.file = argument;
    } else {
      sorted.ignoredFiles << argument;
    }
  }
  return sorted;
}

}  // namespace mireforge
