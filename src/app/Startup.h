#pragma once

#include <functional>

// Runs the program: splash, data module, main window with the sign-in inside it, the windows
// that live for the whole run, then the event loop. Returns the process exit code.
// signInShown, when given, runs once the main window with the sign-in is on the screen (the
// start-up benchmark ends the program there). automaticBackups: the day's first start and the
// close back the shop up, each by a program of its own.
int runTavlin(int& argc, char** argv, const std::function<void()>& signInShown = {},
              bool automaticBackups = true);
