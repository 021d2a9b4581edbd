// SPDX-License-Identifier: MIT
// expander-cli: the serial-port expander's configuration from scripts and production lines.
#include "cli/CommandLine.h"
#include "cli/Output.h"
#include "cli/Tool.h"
#include "platform/Console.h"
#include "platform/QtSerialControl.h"
#include "platform/SystemPortList.h"

#include <QCoreApplication>

#include <cstdio>

namespace {

// Everything the tool prints goes through here: names read from files may hold control characters.
void write(std::FILE* stream, const QString& text) {
    const QByteArray bytes = cli::output::terminalSafe(text).toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
    std::fflush(stream);
}

// Qt's messages go to standard error as usual, except its note that it chose the runtime folder
// itself: harmless, and once per port it would bury a script's own output.
QtMessageHandler qtHandler = nullptr;

void filterMessages(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (message.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR not set")))
        return;
    if (qtHandler)
        qtHandler(type, context, message);
    else
        write(stderr, qFormatLogMessage(type, context, message) + QLatin1Char('\n'));
}

} // namespace

int main(int argc, char* argv[]) {
    qtHandler = qInstallMessageHandler(filterMessages);
    platform::useUtf8Console(); // the output is UTF-8 everywhere
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(cli::CommandLine::Program.toString());
    QCoreApplication::setApplicationVersion(QStringLiteral(EXPANDER_VERSION));

    const auto invocation = cli::CommandLine::parse(app.arguments().mid(1));
    if (!invocation) {
        const cli::Stop& stop = invocation.fault();
        write(stop.code == cli::ExitCode::Passed ? stdout : stderr, stop.text);
        return int(stop.code);
    }

    cli::Tool::Environment environment;
    environment.makeSerial = [] { return std::make_unique<platform::QtSerialControl>(); };
    environment.listPorts = [] { return platform::SystemPortList().ports(); };
    environment.out = [](const QString& text) { write(stdout, text); };
    environment.err = [](const QString& text) { write(stderr, text); };
    cli::Tool tool(invocation.value(), environment);
    QObject::connect(&tool, &cli::Tool::finished, &app, [](int code) { QCoreApplication::exit(code); });
    tool.start();
    return app.exec();
}
