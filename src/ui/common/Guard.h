#pragma once

#include <functional>

// Runs one command of a window. An error stops the command where it arose, is shown through
// the prompter with its own text, and the program goes on. Returns false when it stopped so.
bool guard(const std::function<void()>& command);
