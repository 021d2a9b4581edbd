// SPDX-License-Identifier: MIT
#pragma once

#include <QStringList>

#include <optional>

// The program's own command line: --help, --version and --demo, and nothing else. Qt's options (-platform,
// -style, ...) are Qt's.
namespace shell {

// Answers --help or --version on the terminal before anything needs a display. The exit code when
// the program is to end here, nullopt when it is to start.
std::optional<int> answerInfoOptions(int argc, char* argv[]);

// Refuses, on standard error, what is left of `arguments` once Qt has taken its own options: an
// unknown option or any argument. The exit code when the program is to end, nullopt when it starts.
std::optional<int> refuseOtherArguments(const QStringList& arguments);

// Whether the demonstration device is asked for (--demo).
bool wantsDemo(const QStringList& arguments);

} // namespace shell
