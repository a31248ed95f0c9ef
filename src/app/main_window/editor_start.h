#pragma once
// The editor's whole run, from the command line to the end of the event loop:
// the program's main and the test launcher that drives a real editor process.
#include <functional>

namespace mireforge {

class TfMain;

// started runs once the window is up and the start-up (recovery offer, file
// argument) has been queued; the program passes nothing.
int RunEditor(int argc, char* argv[], const std::function<void(TfMain&)>& started = {});

}  // namespace mireforge
