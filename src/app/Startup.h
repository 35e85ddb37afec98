#pragma once

// Runs the program: splash, data module, main window with the sign-in inside it, the windows
// that live for the whole run, then the event loop. Returns the process exit code.
int runTavlin(int& argc, char** argv);
