// The device client against the simulator process over a real pseudo-terminal: a profile written,
// read back equal, the network written and read back, and the factory state restored.
#include "SimProcess.h"
#include "config/Profile.h"
#include "device/DeviceClient.h"
#include "platform/QtSerialControl.h"

#include <QTemporaryDir>
#include <QTest>

using namespace device;
using namespace Qt::StringLiterals;

namespace {

// The reply to `request`, once it has come.
protocol::Reply ask(DeviceClient& client, const Request& request) {
    std::optional<DeviceClient::Outcome> outcome;
    client.send(request, &client, [&outcome](const DeviceClient::Outcome& o) { outcome = o; });
    if (!QTest::qWaitFor([&outcome] { return outcome.has_value(); }, 10000))
        return protocol::Unrecognised{};
    if (!outcome->ok())
        qWarning("%s", qPrintable(outcome->fault().message()));
    return outcome->ok() ? outcome->value() : protocol::Reply(protocol::Unrecognised{});
}

} // namespace

class TestDeviceSim : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void writesReadsBackAndRestores();
};

void TestDeviceSim::writesReadsBackAndRestores() {
    QTemporaryDir runtime;
    testing::SimProcess sim(QStringLiteral(SIM_PATH), {}, runtime.path());
    QVERIFY(sim.started());
    platform::QtSerialControl serial;
    DeviceClient client(serial);
    QVERIFY(client.open(sim.devicePath(), {115200}).ok());
    QCOMPARE(ask(client, Request::connect()), protocol::Reply(protocol::ConnectConfirmed{}));

    config::Profile profile;
    profile.ports.fill({u"RS485全双工"_s, u"57600"_s, u"7"_s, u"2"_s, u"偶校验"_s});
    profile.ports[4] = {u"RS232"_s, u"1200"_s, u"5"_s, u"1"_s, u"空校验"_s};
    profile.mainBaud = u"115200"_s;
    profile.output = u"禁止"_s;
    const protocol::PortConfiguration codes = profile.toConfiguration().value();
    QCOMPARE(ask(client, Request::writePorts(codes)), protocol::Reply(protocol::PortSetConfirmed{}));
    const protocol::Reply ports = ask(client, Request::readPorts());
    QCOMPARE(ports, protocol::Reply(codes));
    QCOMPARE(config::Profile::fromConfiguration(std::get<protocol::PortConfiguration>(ports)), profile);

    const protocol::NetworkParameters network{{2, 0, 0, 0, 0, 7, 10, 0, 0, 7, 255, 255, 0, 0, 10, 0, 0, 1}};
    QCOMPARE(ask(client, Request::writeNetwork(network)), protocol::Reply(protocol::NetworkSetConfirmed{}));
    QCOMPARE(ask(client, Request::readNetwork()), protocol::Reply(network));

    QCOMPARE(ask(client, Request::restore()), protocol::Reply(protocol::RestoreConfirmed{}));
    protocol::PortConfiguration factory;
    factory.ports.fill({0x08, 0x03, 0x02});
    factory.mainBaudCode = 0x08;
    factory.outputSwitch = 0x01;
    QCOMPARE(ask(client, Request::readPorts()), protocol::Reply(factory));
}

QTEST_GUILESS_MAIN(TestDeviceSim)
#include "tst_device_sim.moc"
