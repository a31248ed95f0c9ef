#pragma once
// The test binary doubles as a launcher of the real editor: started with this
// option first, it runs the editor as the program does and plays the input
// script of MIREFORGE_DRIVE on it once its map is shown, reporting each step
// on the standard error. Steps, separated by ';':
//   paint:x,y,code  picks the terrain on the palette, turns on painting with its
//                   key if needed and clicks the cell
//   key:SEQUENCE    presses the keys (a command's shortcut); a modal dialog it
//                   opens is reported as "dialog open CLASS" and left open
#include <QString>

namespace mireforge::testing {

inline constexpr const char* EditorUnderTestOption = "--editor-under-test";

int RunEditorUnderTest(int argc, char* argv[]);

}  // namespace mireforge::testing
