// SPDX-License-Identifier: MIT
#include "sim/Log.h"

#include "protocol/HexText.h"

#include <QTime>

#include <cstdio>

namespace sim {

void Log::received(const QByteArray& bytes, const QString& text) {
    write(QStringLiteral("rx"), protocol::toHexText(bytes) + QLatin1Char(' ') + text);
}

void Log::sent(const QByteArray& bytes, const QString& text, const QString& faults) {
    QString entry = protocol::toHexText(bytes) + QLatin1Char(' ') + text;
    if (!faults.isEmpty())
        entry += QStringLiteral(" fault=") + faults;
    write(QStringLiteral("tx"), entry);
}

void Log::note(const QString& text) {
    write(QStringLiteral("--"), text);
}

void Log::write(const QString& direction, const QString& text) {
    if (m_quiet)
        return;
    QString line = QTime::currentTime().toString(QStringLiteral("HH:mm:ss.zzz")) + QLatin1Char(' ');
    if (!m_device.isEmpty())
        line += m_device + QLatin1Char(' ');
    const QByteArray bytes = (line + direction + QLatin1Char(' ') + text + QLatin1Char('\n')).toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
    std::fflush(stderr);
}

} // namespace sim
