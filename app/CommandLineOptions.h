#pragma once

#include <QString>
#include <optional>

// lm360r-settings --help and --version: answered on the terminal before any window system is
// opened, so they work over ssh and without a display. Returns the exit status when the command line
// asked for one of them; nullopt when the window is to be opened.
std::optional<int> AnswerOnTerminal(int& argc, char** argv);

// Once QApplication has taken Qt's own options, whatever is left must be ours: false, after one line
// on stderr, when it is not.
bool OnlyKnownOptionsLeft();

// The command file named on the command line, to open once the window is up; empty when none is.
QString CommandFileArgument();
