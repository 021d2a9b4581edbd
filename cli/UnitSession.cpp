// SPDX-License-Identifier: MIT
#include "cli/UnitSession.h"

#include "cli/CommandLine.h"

namespace cli {

namespace {

using Command = Invocation::Command;
using device::DeviceClient;
using device::Request;

// The step a request is, for the messages: "write ports: no answer after 3 attempts".
QString stepName(Request::Kind kind) {
    switch (kind) {
    case Request::Kind::Connect:
        return QStringLiteral("connect");
    case Request::Kind::ReadPorts:
        return QStringLiteral("read ports");
    case Request::Kind::WritePorts:
        return QStringLiteral("write ports");
    case Request::Kind::Restore:
        return QStringLiteral("restore");
    case Request::Kind::ReadNetwork:
        return QStringLiteral("read network");
    case Request::Kind::WriteNetwork:
        return QStringLiteral("write network");
    case Request::Kind::Forward:
        return QStringLiteral("forward");
    }
    return {};
}

} // namespace

UnitSession::UnitSession(Plan plan, std::unique_ptr<platform::SerialControl> serial, QObject* parent)
    : QObject(parent), m_plan(std::move(plan)), m_serial(std::move(serial)), m_client(*m_serial) {
    m_report.command = CommandLine::name(m_plan.command);
    m_report.port = m_plan.port;
    connect(&m_connector, &device::Connector::opened, this,
            [this](qint32 baud) { Q_EMIT note(m_plan.port, QStringLiteral("open at %1 baud").arg(baud)); });
    connect(&m_client, &DeviceClient::traffic, this,
            [this](DeviceClient::Traffic kind, const QByteArray& bytes) {
                Q_EMIT traffic(m_plan.port, kind, bytes);
            });
}

UnitSession::~UnitSession() = default;

void UnitSession::start() {
    m_clock.start();
    m_connector.start(m_plan.port, m_plan.bauds, {}, m_plan.timing,
                      [this](const device::Connector::Outcome& outcome) { connected(outcome); });
}

void UnitSession::connected(const device::Connector::Outcome& outcome) {
    if (const device::ConnectFault* fault = outcome.faultIf()) {
        fail(verdictOf(fault->kind), connectFailure(m_plan.port, *fault, m_plan.bauds));
        return;
    }
    m_report.baud = outcome.value();
    run();
}

void UnitSession::run() {
    switch (m_plan.command) {
    case Command::Read:
        ask<protocol::PortConfiguration>(
            Request::readPorts(), [this](const protocol::PortConfiguration& codes) {
                ask<protocol::NetworkParameters>(
                    Request::readNetwork(), [this, codes](const protocol::NetworkParameters& network) {
                        m_report.read = config::Profile::fromConfiguration(codes, network);
                        finish();
                    });
            });
        return;
    case Command::Write: {
        config::Profile written = *m_plan.profile;
        written.network.reset();
        const protocol::PortConfiguration codes = written.toConfiguration().value(); // checked before
        ask<protocol::PortSetConfirmed>(
            Request::writePorts(codes), [this, written](const protocol::PortSetConfirmed&) {
                m_report.written = written;
                if (m_plan.network.isEmpty()) {
                    verifyPorts();
                    return;
                }
                withNetworkBase([this](const protocol::NetworkParameters& base) {
                    const protocol::NetworkParameters octets = m_plan.network.applyTo(base);
                    m_report.written->network = octets;
                    writeNetwork(octets, [this] { verifyPorts(); });
                });
            });
        return;
    }
    case Command::Restore:
        ask<protocol::RestoreConfirmed>(Request::restore(),
                                        [this](const protocol::RestoreConfirmed&) { finish(); });
        return;
    case Command::NetworkRead:
        ask<protocol::NetworkParameters>(Request::readNetwork(),
                                         [this](const protocol::NetworkParameters& network) {
                                             m_report.networkRead = network;
                                             finish();
                                         });
        return;
    case Command::NetworkWrite:
        withNetworkBase([this](const protocol::NetworkParameters& base) {
            const protocol::NetworkParameters octets = m_plan.network.applyTo(base);
            m_report.networkWritten = octets;
            writeNetwork(octets, [this] {
                if (!m_plan.verify) {
                    finish();
                    return;
                }
                ask<protocol::NetworkParameters>(
                    Request::readNetwork(), [this](const protocol::NetworkParameters& network) {
                        m_report.networkRead = network;
                        config::Profile expected; // the network alone: the ports compare equal
                        expected.network = m_report.networkWritten;
                        config::Profile actual;
                        actual.network = network;
                        compare(expected, actual);
                    });
            });
        });
        return;
    case Command::Forward: {
        const auto request = Request::forward(m_plan.forwardPort, m_plan.forwardData); // checked before
        m_client.send(request.value(), this, [this](const DeviceClient::Sent& sent) {
            if (const device::DeviceFault* fault = sent.faultIf()) {
                fail(verdictOf(fault->kind),
                     stepName(Request::Kind::Forward) + QStringLiteral(": ") + fault->message());
                return;
            }
            m_report.forwardPort = m_plan.forwardPort;
            m_report.forwarded = m_plan.forwardData;
            finish();
        });
        return;
    }
    case Command::Ports:
    case Command::Scan:
        break;
    }
    finish();
}

void UnitSession::withNetworkBase(std::function<void(const protocol::NetworkParameters&)> then) {
    // Fields not given keep the device's values, so those are read first.
    if (m_plan.network.isComplete())
        then(protocol::NetworkParameters{});
    else
        ask<protocol::NetworkParameters>(Request::readNetwork(), then);
}

void UnitSession::writeNetwork(const protocol::NetworkParameters& octets, std::function<void()> then) {
    ask<protocol::NetworkSetConfirmed>(Request::writeNetwork(octets),
                                       [then](const protocol::NetworkSetConfirmed&) { then(); });
}

void UnitSession::verifyPorts() {
    if (!m_plan.verify) {
        finish();
        return;
    }
    ask<protocol::PortConfiguration>(Request::readPorts(), [this](const protocol::PortConfiguration& codes) {
        if (!m_report.written->network) {
            m_report.read = config::Profile::fromConfiguration(codes);
            compare(*m_report.written, *m_report.read);
            return;
        }
        ask<protocol::NetworkParameters>(
            Request::readNetwork(), [this, codes](const protocol::NetworkParameters& network) {
                m_report.read = config::Profile::fromConfiguration(codes, network);
                compare(*m_report.written, *m_report.read);
            });
    });
}

void UnitSession::compare(const config::Profile& expected, const config::Profile& actual) {
    m_report.diff = config::ProfileDiff::compare(expected, actual);
    if (!m_report.diff->empty()) {
        m_report.verdict = Verdict::Mismatch;
        m_report.message = QStringLiteral("%1 field(s) differ").arg(m_report.diff->size());
    }
    finish();
}

template <typename Reply> void UnitSession::ask(const Request& request, Then<Reply> then) {
    const Request::Kind kind = request.kind;
    m_client.send(request, this, [this, kind, then = std::move(then)](const DeviceClient::Outcome& outcome) {
        if (const device::DeviceFault* fault = outcome.faultIf()) {
            fail(verdictOf(fault->kind), stepName(kind) + QStringLiteral(": ") + fault->message());
            return;
        }
        if (const Reply* reply = std::get_if<Reply>(&outcome.value())) {
            then(*reply);
            return;
        }
        fail(Verdict::Malformed, stepName(kind) + QStringLiteral(": unexpected reply"));
    });
}

void UnitSession::fail(Verdict verdict, const QString& message) {
    m_report.verdict = verdict;
    m_report.message = message;
    finish();
}

void UnitSession::finish() {
    if (m_done)
        return;
    m_done = true;
    m_report.elapsedMs = (m_clock.nsecsElapsed() + 500000) / 1000000; // rounded, not cut off
    m_client.close();
    Q_EMIT finished();
}

} // namespace cli
