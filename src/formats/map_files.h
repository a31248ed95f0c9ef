#pragma once
// Loading and saving a map by the extension of the file name: the one table
// that maps extensions to readers and writers, for the command-line tool and
// for any caller that is handed just a file name.
#include <string>
#include <string_view>

#include "project/project.h"

namespace mireforge {

struct MapFileOptions {
  bool OmitBorder = false;  // leave the frozen-wastes frame out of a written map
};

struct MapFileFormat {
  std::string_view Extension;  // lower case, without the dot
  // Fills a fresh project from the file; nullptr when the format cannot be read.
  void (*Load)(const std::string& path, Project& project);
  // Writes the project; nullptr when the format cannot be written.
  void (*Save)(const std::string& path, const Project& project, const MapFileOptions& options);
};

// The format of the file name's extension (case ignored); Error when unknown.
const MapFileFormat& MapFileFormatOf(const std::string& path);

// Throws the message that LoadMapFile / SaveMapFile would give for an unknown
// or unsupported extension, without touching any file.
void CheckLoadable(const std::string& path);
void CheckSavable(const std::string& path);

// Reads a map into a new project; the caller's project is never touched, so a
// failure leaves it as it was.
Project LoadMapFile(const std::string& path);
void SaveMapFile(const std::string& path, const Project& project, const MapFileOptions& options = {});

// ".php, .mmf": the readable or writable extensions, for help texts.
std::string LoadableExtensions();
std::string SavableExtensions();

}  // namespace mireforge
