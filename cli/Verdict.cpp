// SPDX-License-Identifier: MIT
#include "cli/Verdict.h"

#include "cli/PortLock.h"
#include "device/OpenFailure.h"

#include <algorithm>

namespace cli {

QString verdictName(Verdict verdict) {
    switch (verdict) {
    case Verdict::Passed:
        return QStringLiteral("passed");
    case Verdict::Mismatch:
        return QStringLiteral("mismatch");
    case Verdict::Malformed:
        return QStringLiteral("malformed");
    case Verdict::NoAnswer:
        return QStringLiteral("no-answer");
    case Verdict::PortLost:
        return QStringLiteral("port-lost");
    case Verdict::CannotOpen:
        return QStringLiteral("cannot-open");
    }
    return {};
}

ExitCode exitCode(Verdict verdict) {
    switch (verdict) {
    case Verdict::Passed:
        return ExitCode::Passed;
    case Verdict::Mismatch:
        return ExitCode::Mismatch;
    case Verdict::Malformed:
        return ExitCode::Malformed;
    case Verdict::NoAnswer:
        return ExitCode::NoAnswer;
    case Verdict::PortLost:
        return ExitCode::PortLost;
    case Verdict::CannotOpen:
        return ExitCode::CannotOpen;
    }
    return ExitCode::Passed;
}

ExitCode worst(const QList<Verdict>& verdicts) {
    ExitCode code = ExitCode::Passed;
    for (Verdict verdict : verdicts)
        code = std::max(code, exitCode(verdict));
    return code;
}

Verdict verdictOf(device::DeviceFault::Kind fault) {
    using Kind = device::DeviceFault::Kind;
    switch (fault) {
    case Kind::NoAnswer:
        return Verdict::NoAnswer;
    case Kind::PortLost:
    case Kind::PortNotOpen: // closed under a waiting request: the port went away
        return Verdict::PortLost;
    case Kind::Malformed:
    case Kind::UnexpectedReply:
        return Verdict::Malformed;
    }
    return Verdict::NoAnswer;
}

Verdict verdictOf(device::ConnectFault::Kind fault) {
    using Kind = device::ConnectFault::Kind;
    switch (fault) {
    case Kind::Malformed:
        return Verdict::Malformed;
    case Kind::PortLost:
        return Verdict::PortLost;
    case Kind::CannotOpen:
        return Verdict::CannotOpen;
    case Kind::NoAnswer:
    case Kind::InUse:
    case Kind::Cancelled:
        break;
    }
    return Verdict::NoAnswer;
}

QString connectFailure(const QString& port, const device::ConnectFault& fault, const QList<qint32>& bauds) {
    using Kind = device::ConnectFault::Kind;
    switch (fault.kind) {
    case Kind::CannotOpen:
        return QStringLiteral("cannot open: ") + openFailure(fault.error, port);
    case Kind::InUse:
        return QStringLiteral("skipped: the port is in use");
    case Kind::Cancelled:
        return QStringLiteral("cancelled");
    case Kind::NoAnswer:
        if (bauds.size() > 1) {
            QStringList texts;
            for (qint32 baud : bauds)
                texts.append(QString::number(baud));
            return QStringLiteral("connect: no answer at %1 baud").arg(texts.join(QStringLiteral(", ")));
        }
        break;
    case Kind::Malformed:
    case Kind::PortLost:
        break;
    }
    return QStringLiteral("connect: ") + fault.worst.message();
}

QString openFailure(platform::SerialFault error) {
    return config::word(device::openFailureWord(error), config::Language::English);
}

QString openFailure(platform::SerialFault error, const QString& port) {
    const QString text = openFailure(error);
    if (error != platform::SerialFault::InUse)
        return text;
    const std::optional<PortLock> lock = portLock(port);
    if (!lock)
        return text;
    return text + QStringLiteral(" (lock file %1 of user %2%3; if that program has ended, remove it)")
                      .arg(lock->path, lock->owner.isEmpty() ? QStringLiteral("?") : lock->owner,
                           lock->pid > 0 ? QStringLiteral(", process %1").arg(lock->pid) : QString());
}

} // namespace cli
