// SPDX-License-Identifier: MIT
#pragma once

#include "cli/Invocation.h"
#include "cli/Verdict.h"
#include "protocol/Result.h"

#include <QString>
#include <QStringList>

// The tool's command line: subcommands with POSIX options, each with its own --help.
namespace cli {

// The command line asks for no device work: help or the version (to standard output, exit 0), or
// it is wrong (a message and a hint to standard error, the bad-input exit code).
struct Stop {
    ExitCode code = ExitCode::Passed;
    QString text;
    bool operator==(const Stop&) const = default;
};

class CommandLine {
public:
    static constexpr QStringView Program = u"expander-cli";

    // `arguments` without the program's name. Everything is checked that can be without opening a
    // file: option values, baud rates, addresses, the forward bytes.
    static protocol::Result<Invocation, Stop> parse(const QStringList& arguments);

    // "write", "network read", ...
    static QString name(Invocation::Command command);
    // The text of --help for the tool as a whole.
    static QString help();
    // The exit codes, as every --help ends.
    static QString exitStatus();
};

} // namespace cli
