// SPDX-License-Identifier: MIT
// The registry through which running simulators offer their ports to the port list.
#include "SimProcess.h"
#include "platform/SimRegistry.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

class TestSimRegistry : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Every entry that is not a running simulator's own pseudo-terminal is left out: a link planted
    // at a terminal the simulator does not hold, a link whose process is not the simulator, and a
    // link left by a process that has ended, even when it points at a simulator's terminal.
    void listsOnlyWhatARunningSimulatorHolds() {
        QTemporaryDir runtime;
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
        testing::SimProcess sim(QStringLiteral(SIM_PATH), {QStringLiteral("--quiet")}, runtime.path());
        QVERIFY(sim.started());
        QCOMPARE(platform::SimRegistry::ports(), QStringList{sim.registeredPath()});

        // A terminal of this test's own, master side held here.
        const int master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
        QVERIFY(master >= 0 && ::grantpt(master) == 0 && ::unlockpt(master) == 0);
        const QString terminal = QString::fromLocal8Bit(::ptsname(master));
        QProcess ended;
        ended.start(QStringLiteral("/bin/true"));
        QVERIFY(ended.waitForStarted(5000));
        const qint64 endedPid = ended.processId();
        QVERIFY(ended.waitForFinished(5000));

        const QString dir = platform::SimRegistry::directory() + QLatin1Char('/');
        using platform::SimRegistry;
        QVERIFY(QFile::link(terminal, dir + SimRegistry::entryName(sim.pid(), 7)));
        QVERIFY(QFile::link(terminal, dir + SimRegistry::entryName(QCoreApplication::applicationPid(), 0)));
        QVERIFY(QFile::link(sim.devicePath(), dir + SimRegistry::entryName(endedPid, 0)));
        QVERIFY(QFile::link(sim.devicePath(), dir + QStringLiteral("sim%1x").arg(sim.pid())));
        QCOMPARE(platform::SimRegistry::ports(), QStringList{sim.registeredPath()});
        ::close(master);
    }
};

QTEST_GUILESS_MAIN(TestSimRegistry)
#include "tst_simregistry.moc"
