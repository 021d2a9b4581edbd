// The registry through which running simulators offer their ports to the port list.
#include "platform/SimRegistry.h"
#include "platform/SystemPortList.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>

#include <unistd.h>

class TestSimRegistry : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void registeredPortIsListedUntilRemoved();
    void deadOwnerOrMissingDeviceIsNotListed();

private:
    std::unique_ptr<QTemporaryDir> m_runtime;
};

void TestSimRegistry::init() {
    m_runtime = std::make_unique<QTemporaryDir>();
    qputenv("XDG_RUNTIME_DIR", m_runtime->path().toLocal8Bit());
}

void TestSimRegistry::registeredPortIsListedUntilRemoved() {
    const QString link = platform::SimRegistry::add(QStringLiteral("/dev/null"));
    QVERIFY(!link.isEmpty());
    QVERIFY(link.startsWith(m_runtime->path()));
    QCOMPARE(platform::SimRegistry::ports(), QStringList{link});
    QVERIFY(platform::SystemPortList().ports().contains(link));
    platform::SimRegistry::remove(link);
    QVERIFY(platform::SimRegistry::ports().isEmpty());
}

void TestSimRegistry::deadOwnerOrMissingDeviceIsNotListed() {
    const QString dir = platform::SimRegistry::directory();
    QVERIFY(QDir().mkpath(dir));
    // A simulator killed without clean-up: its process is gone (pid 1 cannot be ours to fake,
    // so use a pid beyond the system's range).
    QVERIFY(QFile::link(QStringLiteral("/dev/null"), dir + QStringLiteral("/sim999999999")));
    // A running owner whose device vanished.
    QVERIFY(QFile::link(QStringLiteral("/dev/pts/does-not-exist"),
                        dir + QStringLiteral("/sim%1").arg(::getpid())));
    // Unrelated files are ignored.
    QFile other(dir + QStringLiteral("/notes"));
    QVERIFY(other.open(QIODevice::WriteOnly));
    QVERIFY(platform::SimRegistry::ports().isEmpty());
}

QTEST_GUILESS_MAIN(TestSimRegistry)
#include "tst_simregistry.moc"
