// SPDX-License-Identifier: MIT
#include "shell/CommandLine.h"

#include "shell/Titles.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdio>

namespace shell {

namespace {

constexpr int kUsageError = 2;

void describe(QCommandLineParser& parser) {
    parser.setApplicationDescription(
        QStringLiteral("Configures and tests an eight-port serial expander (%1).").arg(ProgramTitle));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOption({QStringLiteral("demo"),
                      QStringLiteral("Adds a built-in demonstration device (port DEMO) to the port "
                                     "list, to try the program without a box.")});
}

void print(std::FILE* stream, const QString& text) {
    const QByteArray bytes = text.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
}

} // namespace

std::optional<int> answerInfoOptions(int argc, char* argv[]) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    QCommandLineParser probe;
    describe(probe);
    probe.parse(arguments); // Qt's options are unknown here; they are looked at after start-up
    const bool help = probe.isSet(QStringLiteral("help"));
    if (!help && !probe.isSet(QStringLiteral("version")))
        return std::nullopt;

    QCoreApplication application(argc, argv); // the texts below take the program's name from it
    QCoreApplication::setApplicationName(ProgramName.toString());
    QCoreApplication::setApplicationVersion(QStringLiteral(EXPANDER_VERSION));
    QCommandLineParser parser;
    describe(parser);
    parser.parse(arguments);
    if (help)
        print(stdout, parser.helpText());
    else
        print(stdout, QStringLiteral("%1 %2\n").arg(QCoreApplication::applicationName(),
                                                    QCoreApplication::applicationVersion()));
    return 0;
}

std::optional<int> refuseOtherArguments(const QStringList& arguments) {
    QCommandLineParser parser;
    describe(parser);
    if (!parser.parse(arguments)) {
        print(stderr, parser.errorText() + QStringLiteral("\nTry '--help'.\n"));
        return kUsageError;
    }
    if (!parser.positionalArguments().isEmpty()) {
        print(stderr, QStringLiteral("Unexpected argument '%1'.\nTry '--help'.\n")
                          .arg(parser.positionalArguments().constFirst()));
        return kUsageError;
    }
    return std::nullopt;
}

bool wantsDemo(const QStringList& arguments) {
    QCommandLineParser parser;
    describe(parser);
    return parser.parse(arguments) && parser.isSet(QStringLiteral("demo"));
}

} // namespace shell
