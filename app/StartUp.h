#pragma once

#include <functional>

class QWidget;

// Creates the start window (its constructor is the real start sequence), runs the message loop
// until that window is closed or the process is asked to end, and returns the exit code.
int StartUp(const std::function<QWidget*()>& loadMainWindow);

// The web engine refuses to start as root unless its sandbox is off; qavex may be run as root.
void AllowWebEngineAsRoot();
