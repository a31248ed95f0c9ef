#pragma once
// Finds a part of the main window (a command, a view, a dialog) by the object
// name it carries, as Qt's test and accessibility tools do: the window keeps
// its parts to itself, so tests and benchmarks reach them this way.
#include <QObject>
#include <stdexcept>
#include <string>

namespace mireforge {

template <typename Part>
Part* PartOf(const QObject& window, const char* name) {
  Part* part = window.findChild<Part*>(QString::fromLatin1(name));
  if (part == nullptr) throw std::logic_error(std::string("the window has no part named ") + name);
  return part;
}

}  // namespace mireforge
