// SPDX-License-Identifier: MIT
#include "cli/CommandLine.h"

#include "config/Tables.h"
#include "protocol/Frame.h"

#include <QCommandLineParser>

#include <algorithm>
#include <vector>

namespace cli {

namespace {

using Command = Invocation::Command;

enum class Opt {
    Port,
    All,
    Baud,
    Verify,
    Units,
    Ip,
    Mac,
    Mask,
    Gateway,
    To,
    Json,
    Results,
    Trace,
    Timeout,
    Retries,
    NoNetwork,
    DryRun,
    Expect,
    Include,
    Exclude,
    Ledger,
    Bom
};

struct OptionInfo {
    Opt id;
    QStringList names; // the short name first, where there is one
    QString value;     // empty: a switch
    QString description;
};

const std::vector<OptionInfo>& optionInfos() {
    static const std::vector<OptionInfo> infos{
        {Opt::Port,
         {QStringLiteral("p"), QStringLiteral("port")},
         QStringLiteral("P"),
         QStringLiteral("Work on port P; repeat it for several units, which run in parallel.")},
        {Opt::All,
         {QStringLiteral("a"), QStringLiteral("all")},
         {},
         QStringLiteral("Work on every port where a scan finds an expander.")},
        {Opt::Baud,
         {QStringLiteral("b"), QStringLiteral("baud")},
         QStringLiteral("B"),
         QStringLiteral("Try the main port at B baud; repeat it to try several in turn.\n"
                        "Default: every main-port rate, 9600 and 115200 first.")},
        {Opt::Verify,
         {QStringLiteral("verify")},
         {},
         QStringLiteral("Read back what was written and compare it field by field.")},
        {Opt::Units,
         {QStringLiteral("units")},
         QStringLiteral("FILE"),
         QStringLiteral("Per-unit network values from a CSV file (see the manual page).")},
        {Opt::Ip,
         {QStringLiteral("ip")},
         QStringLiteral("A"),
         QStringLiteral("IP address, e.g. 192.168.1.100.")},
        {Opt::Mac,
         {QStringLiteral("mac")},
         QStringLiteral("M"),
         QStringLiteral("MAC address, e.g. 00:08:DC:01:02:03.")},
        {Opt::Mask,
         {QStringLiteral("mask")},
         QStringLiteral("A"),
         QStringLiteral("Subnet mask, e.g. 255.255.255.0.")},
        {Opt::Gateway,
         {QStringLiteral("gateway")},
         QStringLiteral("A"),
         QStringLiteral("Default gateway, e.g. 192.168.1.1.")},
        {Opt::To,
         {QStringLiteral("to")},
         QStringLiteral("N"),
         QStringLiteral("The extension port, 1 to 8, out of which the bytes go.")},
        {Opt::Json,
         {QStringLiteral("json")},
         {},
         QStringLiteral("Print one JSON object per unit a line, as each unit finishes.")},
        {Opt::Results,
         {QStringLiteral("results")},
         QStringLiteral("FILE"),
         QStringLiteral("Append one row per unit to the CSV file FILE (header when new).")},
        {Opt::Trace,
         {QStringLiteral("trace")},
         {},
         QStringLiteral("Print every frame sent and received, with its time and meaning,\n"
                        "to standard error.")},
        {Opt::Timeout,
         {QStringLiteral("timeout")},
         QStringLiteral("MS"),
         QStringLiteral("Wait up to MS milliseconds for each reply. Default: 400 ms plus twice\n"
                        "the exchange's wire time (472 ms at 9600 baud, 968 ms at 1200).")},
        {Opt::Retries,
         {QStringLiteral("retries")},
         QStringLiteral("N"),
         QStringLiteral("Send a request that drew no good reply up to N times more. Default: 2.")},
        {Opt::NoNetwork,
         {QStringLiteral("no-network")},
         {},
         QStringLiteral("Write the ports and the main port only, no network parameters.")},
        {Opt::DryRun,
         {QStringLiteral("dry-run")},
         {},
         QStringLiteral("Print what each unit would get; send nothing.")},
        {Opt::Expect,
         {QStringLiteral("expect")},
         QStringLiteral("N"),
         QStringLiteral("There must be N units: exit 8 when the scan finds other than N\n"
                        "expanders or a port is in use (with --all: before anything is written).")},
        {Opt::Include,
         {QStringLiteral("include")},
         QStringLiteral("PATTERN"),
         QStringLiteral("Try only ports whose name or path matches PATTERN (* ? [...]);\n"
                        "repeat it for several.")},
        {Opt::Exclude,
         {QStringLiteral("exclude")},
         QStringLiteral("PATTERN"),
         QStringLiteral("Leave out ports whose name or path matches PATTERN; repeat it for several.")},
        {Opt::Ledger,
         {QStringLiteral("ledger")},
         QStringLiteral("FILE"),
         QStringLiteral("Record each address the units file's * row hands out in FILE, and\n"
                        "start after the last one recorded: no address is handed out twice.")},
        {Opt::Bom,
         {QStringLiteral("bom")},
         {},
         QStringLiteral("Start a new results file with a byte-order mark (for Excel).")},
    };
    return infos;
}

const OptionInfo& optionInfo(Opt id) {
    return optionInfos()[size_t(id)];
}

struct CommandInfo {
    Command command;
    QString name;     // "write", "network read"
    QString operands; // "PROFILE"
    QString summary;  // one line, for the list of commands
    QString about;
    std::vector<Opt> options;
};

const std::vector<CommandInfo>& commandInfos() {
    using enum Opt;
    static const std::vector<CommandInfo> infos{
        {Command::Ports,
         QStringLiteral("ports"),
         {},
         QStringLiteral("List the serial ports, running simulators included."),
         QStringLiteral("Lists the serial ports of this machine, running simulators included, one a line."),
         {}},
        {Command::Scan,
         QStringLiteral("scan"),
         {},
         QStringLiteral("Find expanders: each port at each main-port baud."),
         QStringLiteral("Finds expanders: sends a connect request to every port it tries (default: all\n"
                        "of `expander-cli ports`) at every baud given, the ports in parallel, and lists\n"
                        "each port and baud that answers, and each port another program holds.\n"
                        "Whatever is attached to a port it tries receives those bytes: leave such\n"
                        "ports out with --exclude, or name the ports with --port or --include."),
         {Port, Baud, Include, Exclude, Expect, Json, Trace, Timeout, Retries}},
        {Command::Read,
         QStringLiteral("read"),
         {},
         QStringLiteral("Print each unit's configuration as a profile."),
         QStringLiteral("Connects to each unit and prints its ports, main port and network parameters\n"
                        "as a profile, which `write` takes."),
         {Port, All, Include, Exclude, Expect, Baud, Json, Results, Bom, Trace, Timeout, Retries}},
        {Command::Write,
         QStringLiteral("write"),
         QStringLiteral("PROFILE"),
         QStringLiteral("Write a profile; with --verify, read it back and compare."),
         QStringLiteral("Connects to each unit and writes the profile's ports, main-port baud rate and\n"
                        "output switch, then its network parameters (with the units file's values)\n"
                        "if it or the units file gives any. With --verify it reads everything back\n"
                        "and names each field that differs, with both values. A new main-port baud\n"
                        "rate takes effect when the unit is next powered on."),
         {Port, All, Include, Exclude, Expect, Baud, Verify, Units, Ledger, NoNetwork, DryRun, Json, Results,
          Bom, Trace, Timeout, Retries}},
        {Command::Restore,
         QStringLiteral("restore"),
         {},
         QStringLiteral("Restore each unit's factory settings."),
         QStringLiteral("Makes each unit restore its factory settings."),
         {Port, All, Include, Exclude, Expect, Baud, DryRun, Json, Results, Bom, Trace, Timeout, Retries}},
        {Command::NetworkRead,
         QStringLiteral("network read"),
         {},
         QStringLiteral("Print each unit's network parameters."),
         QStringLiteral("Connects to each unit and prints its network parameters."),
         {Port, All, Include, Exclude, Expect, Baud, Json, Results, Bom, Trace, Timeout, Retries}},
        {Command::NetworkWrite,
         QStringLiteral("network write"),
         {},
         QStringLiteral("Write network parameters."),
         QStringLiteral("Writes network parameters: the options' values, and each unit's own from\n"
                        "the units file. A field given by neither keeps the unit's value."),
         {Port,  All,    Include, Exclude, Expect, Baud,    Ip,  Mac,   Mask,    Gateway,
          Units, Ledger, Verify,  DryRun,  Json,   Results, Bom, Trace, Timeout, Retries}},
        {Command::Forward,
         QStringLiteral("forward"),
         QStringLiteral("--to N HEXBYTES..."),
         QStringLiteral("Send bytes out of extension port N."),
         QStringLiteral("Connects to each unit and sends the bytes out of its extension port N.\n"
                        "Nothing answers a forward: it is done once its bytes are on the line."),
         {Port, All, Include, Exclude, Expect, Baud, To, DryRun, Json, Results, Bom, Trace, Timeout,
          Retries}},
    };
    return infos;
}

const CommandInfo& commandInfo(Command command) {
    return commandInfos()[size_t(command)];
}

// "  -p, --port P   Work on ..." lines, descriptions aligned.
QString optionLines(const std::vector<Opt>& ids, bool withVersion) {
    std::vector<std::pair<QString, QString>> rows;
    for (Opt id : ids) {
        const OptionInfo& info = optionInfo(id);
        QString left = info.names.size() > 1 ? QStringLiteral("-%1, --%2").arg(info.names[0], info.names[1])
                                             : QStringLiteral("    --%1").arg(info.names[0]);
        if (!info.value.isEmpty())
            left += QLatin1Char(' ') + info.value;
        rows.emplace_back(left, info.description);
    }
    rows.emplace_back(QStringLiteral("-h, --help"), QStringLiteral("Show this help."));
    if (withVersion)
        rows.emplace_back(QStringLiteral("-v, --version"), QStringLiteral("Show the version."));
    qsizetype width = 0;
    for (const auto& row : rows)
        width = std::max(width, row.first.size());
    QString out;
    for (const auto& [left, description] : rows) {
        QString text = description;
        text.replace(QLatin1Char('\n'), QLatin1Char('\n') + QString(width + 4, QLatin1Char(' ')));
        out += QStringLiteral("  ") + left.leftJustified(width + 2) + text + QLatin1Char('\n');
    }
    return out;
}

QString commandHelp(const CommandInfo& info) {
    QString usage = QStringLiteral("Usage: %1 %2").arg(CommandLine::Program, info.name);
    if (!info.operands.isEmpty())
        usage += QLatin1Char(' ') + info.operands;
    if (!info.options.empty())
        usage += QStringLiteral(" [options]");
    return usage + QStringLiteral("\n\n") + info.about + QStringLiteral("\n\nOptions:\n") +
           optionLines(info.options, false) + QLatin1Char('\n') + CommandLine::exitStatus();
}

Stop usageError(const QString& problem, const CommandInfo* info) {
    const QString hint = info ? QStringLiteral("%1 %2 --help").arg(CommandLine::Program, info->name)
                              : QStringLiteral("%1 --help").arg(CommandLine::Program);
    const QString where = info ? QStringLiteral("%1 %2").arg(CommandLine::Program, info->name)
                               : CommandLine::Program.toString();
    return {ExitCode::BadInput, QStringLiteral("%1: %2\nTry '%3'.\n").arg(where, problem, hint)};
}

bool isHexDigit(QChar c) {
    const char16_t u = c.unicode();
    return (u >= u'0' && u <= u'9') || (u >= u'a' && u <= u'f') || (u >= u'A' && u <= u'F');
}

// Hex digits, spaces allowed between them, into bytes; empty for anything else.
std::optional<QByteArray> strictHex(const QString& text, QString& problem) {
    QString digits = text;
    digits.remove(QLatin1Char(' '));
    for (QChar c : digits)
        if (!isHexDigit(c)) {
            problem = QStringLiteral("HEXBYTES: \"%1\" holds %2, which is not a hex digit").arg(text, c);
            return std::nullopt;
        }
    if (digits.isEmpty() || digits.size() % 2 != 0) {
        problem = digits.isEmpty() ? QStringLiteral("HEXBYTES: no bytes to forward")
                                   : QStringLiteral("HEXBYTES: \"%1\" has an odd number of digits").arg(text);
        return std::nullopt;
    }
    const QByteArray bytes = QByteArray::fromHex(digits.toLatin1());
    if (bytes.size() > protocol::frame::MaxForwardData) {
        problem = QStringLiteral("HEXBYTES: %1 bytes, one frame carries at most %2")
                      .arg(bytes.size())
                      .arg(protocol::frame::MaxForwardData);
        return std::nullopt;
    }
    return bytes;
}

} // namespace

QString CommandLine::name(Invocation::Command command) {
    return commandInfo(command).name;
}

QString CommandLine::exitStatus() {
    return QStringLiteral(
        "Exit status:\n"
        "  0  every unit passed\n"
        "  1  verify mismatch: a unit holds other values than were written\n"
        "  2  bad usage or input (options, profile, units or results file); nothing sent\n"
        "  3  malformed or unexpected reply\n"
        "  4  no answer\n"
        "  5  port lost during the run (unit unplugged)\n"
        "  6  port cannot be opened (not found, in use, or permission denied)\n"
        "  7  the units ran, but the results file could not be written\n"
        "  8  scan or --all found other than --expect N units; nothing written\n"
        "With several units, the highest of their codes. scan exits 0 when it finds a device.\n");
}

QString CommandLine::help() {
    QString commands;
    for (const CommandInfo& info : commandInfos()) {
        const QString name =
            info.operands.isEmpty() ? info.name : info.name + QLatin1Char(' ') + info.operands;
        commands += QStringLiteral("  %1%2\n").arg(name.leftJustified(28), info.summary);
    }
    return QStringLiteral(
               "Usage: %1 COMMAND [options]\n\n"
               "Finds serial-port expanders, writes a profile to many at once, reads it back and\n"
               "proves it matches, and records each unit's result: for scripts and production lines.\n\n"
               "Commands:\n")
               .arg(Program) +
           commands + QStringLiteral("\nRun '%1 COMMAND --help' for a command's options.\n\n").arg(Program) +
           optionLines({}, true) + QLatin1Char('\n') + exitStatus();
}

protocol::Result<Invocation, Stop> CommandLine::parse(const QStringList& arguments) {
    if (arguments.isEmpty())
        return usageError(QStringLiteral("no command given"), nullptr);
    const QString& first = arguments.first();
    if (first == u"-h" || first == u"--help")
        return Stop{ExitCode::Passed, help()};
    if (first == u"-v" || first == u"--version")
        return Stop{ExitCode::Passed,
                    QStringLiteral("%1 %2\n").arg(Program, QStringLiteral(EXPANDER_VERSION))};

    QString name = first;
    qsizetype consumed = 1;
    if (first == u"network") {
        if (arguments.size() < 2 || (arguments[1] != u"read" && arguments[1] != u"write"))
            return usageError(QStringLiteral("network needs read or write"), nullptr);
        name += QLatin1Char(' ') + arguments[1];
        consumed = 2;
    }
    const auto found = std::find_if(commandInfos().begin(), commandInfos().end(),
                                    [&](const CommandInfo& info) { return info.name == name; });
    if (found == commandInfos().end())
        return usageError(QStringLiteral("unknown command \"%1\"").arg(first), nullptr);
    const CommandInfo& info = *found;

    QCommandLineParser parser;
    const QCommandLineOption helpOption(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    parser.addOption(helpOption);
    for (Opt id : info.options) {
        const OptionInfo& option = optionInfo(id);
        parser.addOption(QCommandLineOption(option.names, option.description, option.value));
    }
    if (!parser.parse(QStringList{Program.toString()} + arguments.mid(consumed)))
        return usageError(parser.errorText(), &info);
    if (parser.isSet(helpOption))
        return Stop{ExitCode::Passed, commandHelp(info)};

    Invocation invocation;
    invocation.command = info.command;
    const auto has = [&](Opt id) {
        return std::find(info.options.begin(), info.options.end(), id) != info.options.end();
    };
    const auto value = [&](Opt id) {
        return has(id) ? parser.value(optionInfo(id).names.last()) : QString();
    };
    const auto values = [&](Opt id) {
        return has(id) ? parser.values(optionInfo(id).names.last()) : QStringList();
    };
    const auto isSet = [&](Opt id) { return has(id) && parser.isSet(optionInfo(id).names.last()); };

    for (const QString& port : values(Opt::Port)) {
        if (port.isEmpty())
            return usageError(QStringLiteral("--port needs a port name"), &info);
        if (invocation.ports.contains(port))
            return usageError(QStringLiteral("--port %1 is given twice").arg(port), &info);
        invocation.ports.append(port);
    }
    invocation.allPorts = isSet(Opt::All);
    if (invocation.allPorts && !invocation.ports.isEmpty())
        return usageError(QStringLiteral("--all and --port exclude each other"), &info);
    for (const QString& text : values(Opt::Baud)) {
        if (!config::tables::baudRates().codeOfText(text))
            return usageError(QStringLiteral("--baud %1 is not a main-port baud rate (%2)")
                                  .arg(text, config::tables::baudRates().texts().join(QStringLiteral(", "))),
                              &info);
        if (!invocation.bauds.contains(text.toInt()))
            invocation.bauds.append(text.toInt());
    }
    const auto count = [&](Opt id, int lowest, int highest,
                           std::optional<int>& field) -> std::optional<Stop> {
        if (!isSet(id))
            return std::nullopt;
        bool ok = false;
        const int number = value(id).toInt(&ok);
        if (ok && number >= lowest && number <= highest) {
            field = number;
            return std::nullopt;
        }
        return usageError(QStringLiteral("--%1 %2 is not a whole number from %3 to %4")
                              .arg(optionInfo(id).names.last(), value(id))
                              .arg(lowest)
                              .arg(highest),
                          &info);
    };
    if (auto stop = count(Opt::Timeout, 1, 600000, invocation.timing.answerMs))
        return *stop;
    if (auto stop = count(Opt::Retries, 0, 100, invocation.timing.retries))
        return *stop;
    invocation.json = isSet(Opt::Json);
    invocation.trace = isSet(Opt::Trace);
    invocation.verify = isSet(Opt::Verify);
    invocation.unitsPath = value(Opt::Units);
    invocation.resultsPath = value(Opt::Results);
    invocation.noNetwork = isSet(Opt::NoNetwork);
    invocation.dryRun = isSet(Opt::DryRun);
    invocation.bom = isSet(Opt::Bom);
    invocation.include = values(Opt::Include);
    invocation.exclude = values(Opt::Exclude);
    invocation.ledgerPath = value(Opt::Ledger);
    if (isSet(Opt::Expect)) {
        bool ok = false;
        invocation.expect = value(Opt::Expect).toInt(&ok);
        if (!ok || *invocation.expect < 0)
            return usageError(QStringLiteral("--expect %1 is not a number of units").arg(value(Opt::Expect)),
                              &info);
    }
    const bool scans = info.command == Command::Scan || invocation.allPorts;
    for (Opt id : {Opt::Expect, Opt::Include, Opt::Exclude})
        if (isSet(id) && !scans)
            return usageError(QStringLiteral("--%1 needs --all").arg(optionInfo(id).names.last()), &info);
    if (invocation.dryRun && invocation.allPorts)
        return usageError(QStringLiteral("--dry-run and --all exclude each other: finding the units sends a "
                                         "connect request to every port"),
                          &info);
    if (invocation.bom && invocation.resultsPath.isEmpty())
        return usageError(QStringLiteral("--bom needs --results FILE"), &info);
    if (isSet(Opt::Ledger) && (invocation.ledgerPath.isEmpty() || !isSet(Opt::Units)))
        return usageError(QStringLiteral("--ledger FILE needs --units FILE, whose * row it keeps count of"),
                          &info);
    if (isSet(Opt::Units) && invocation.unitsPath.isEmpty())
        return usageError(QStringLiteral("--units needs a file name"), &info);
    if (isSet(Opt::Results) && invocation.resultsPath.isEmpty())
        return usageError(QStringLiteral("--results needs a file name"), &info);

    const auto address = [&](Opt id, auto parse, auto& field, const QString& example) -> std::optional<Stop> {
        if (!isSet(id))
            return std::nullopt;
        field = parse(value(id));
        if (field)
            return std::nullopt;
        return usageError(QStringLiteral("--%1 \"%2\" is not an address such as %3")
                              .arg(optionInfo(id).names.last(), value(id), example),
                          &info);
    };
    NetworkValues& network = invocation.network;
    for (auto stop :
         {address(Opt::Ip, config::parseIpv4, network.ip, QStringLiteral("192.168.1.100")),
          address(Opt::Mac, config::parseMac, network.mac, QStringLiteral("00:08:DC:01:02:03")),
          address(Opt::Mask, config::parseIpv4, network.mask, QStringLiteral("255.255.255.0")),
          address(Opt::Gateway, config::parseIpv4, network.gateway, QStringLiteral("192.168.1.1"))})
        if (stop)
            return *stop;
    if (const auto problem = config::addressProblem(network.mac, network.ip, network.mask, network.gateway))
        return usageError(
            QStringLiteral("--%1: %2").arg(problem->field, problem->problem.text(config::Language::English)),
            &info);

    QStringList operands = parser.positionalArguments();
    switch (info.command) {
    case Command::Write:
        if (operands.size() != 1)
            return usageError(operands.isEmpty()
                                  ? QStringLiteral("no profile given")
                                  : QStringLiteral("one profile only, not \"%1\"").arg(operands.join(u' ')),
                              &info);
        invocation.profilePath = operands.takeFirst();
        break;
    case Command::NetworkWrite:
        if (network.isEmpty() && invocation.unitsPath.isEmpty())
            return usageError(
                QStringLiteral("nothing to write: give --ip, --mac, --mask, --gateway or --units"), &info);
        break;
    case Command::Forward: {
        bool ok = false;
        invocation.forwardPort = value(Opt::To).toInt(&ok);
        if (!isSet(Opt::To))
            return usageError(QStringLiteral("--to N is needed: the extension port, 1 to 8"), &info);
        if (!ok || invocation.forwardPort < 1 || invocation.forwardPort > protocol::frame::PortCount)
            return usageError(QStringLiteral("--to %1 is not an extension port, 1 to 8").arg(value(Opt::To)),
                              &info);
        QString problem;
        const std::optional<QByteArray> bytes = strictHex(operands.join(QLatin1Char(' ')), problem);
        if (!bytes)
            return usageError(problem, &info);
        invocation.forwardData = *bytes;
        operands.clear();
        break;
    }
    case Command::Ports:
    case Command::Scan:
    case Command::Read:
    case Command::Restore:
    case Command::NetworkRead:
        break;
    }
    if (!operands.isEmpty())
        return usageError(QStringLiteral("unexpected \"%1\"").arg(operands.first()), &info);
    const bool portless = invocation.ports.isEmpty() && !invocation.allPorts;
    const bool unitsNamePorts = !invocation.unitsPath.isEmpty();
    if (has(Opt::All) && portless && !unitsNamePorts)
        return usageError(QStringLiteral("no port given: use --port P or --all"), &info);
    return invocation;
}

} // namespace cli
