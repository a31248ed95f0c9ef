// mireforge: the desktop editor.
#include "app/main_window/editor_start.h"

int main(int argc, char* argv[]) { return mireforge::RunEditor(argc, argv); }
