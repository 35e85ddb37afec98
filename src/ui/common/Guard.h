#pragma once

#include <functional>

// Runs one command of a window. An error stops the command where it arose, is shown through
// the prompter with its own text, and the program goes on. Returns false when it stopped so.
bool guard(const std::function<void()>& command);

// Runs a check the program makes by itself (when the focus returns to a window, on a timer).
// It never shows a box of its own: a failure (a lost server) is left for the user's next
// command to report, once. Returns false when it failed.
bool guardQuietly(const std::function<void()>& check);
