// SPDX-License-Identifier: MIT
// The single-instance rule (which lock files block a start, and the private runtime folder they live
// in, on Windows without Unix modes; the window's notice is the shell's test, on a fake), and the
// real serial control's reading of why a port would not open and the names it refuses (with
// EXPANDER_TEST_COM, the Wine run, a COM port opened by its name and by its device path).
#include "platform/LockFileInstance.h"
#include "platform/QtSerialControl.h"
#include "platform/RuntimeDir.h"

#include <QLockFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::StringLiterals;
using platform::SerialFault;

Q_DECLARE_METATYPE(platform::SerialFault)

class TestPlatform : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() {
        m_dir = std::make_unique<QTemporaryDir>();
#ifdef Q_OS_WIN
        QStandardPaths::setTestModeEnabled(true); // the runtime folder in Qt's standard test locations
#else
        QFile::setPermissions(m_dir->path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("XDG_RUNTIME_DIR", m_dir->path().toLocal8Bit());
#endif
        QFile::remove(platform::runtimeDir() + u"/probe.lock"_s);
    }

    void lockStates_data() {
        QTest::addColumn<QString>("lock"); // what the lock file holds, or "live" for a copy holding it
        QTest::addColumn<int>("ageMs");
        QTest::addColumn<bool>("blocks");
        QTest::newRow("no lock") << QString() << 0 << false;
        QTest::newRow("held by a live copy") << u"live"_s << 0 << true;
        QTest::newRow("empty, left long ago") << u""_s << 60000 << false;
        QTest::newRow("garbled, left long ago") << u"\x01garbage\n"_s << 60000 << false;
        QTest::newRow("empty, being written") << u""_s << 0 << true;
        QTest::newRow("no folder for it") << u"nofolder"_s << 0 << false;
    }

    void lockStates() {
        QFETCH(QString, lock);
        QFETCH(int, ageMs);
        QFETCH(bool, blocks);
        const QString path = platform::runtimeDir() + u"/probe.lock"_s;
        QLockFile live(path);
        if (lock == u"live") {
            QVERIFY(live.tryLock(0));
        } else if (!lock.isNull() && lock != u"nofolder") {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(lock.toLatin1());
            file.flush(); // written now, so that the time set below stays
            file.setFileTime(QDateTime::currentDateTime().addMSecs(-ageMs),
                             QFileDevice::FileModificationTime);
        }
        platform::LockFileInstance instance(lock == u"nofolder" ? u"missing/probe"_s : u"probe"_s);
        QCOMPARE(instance.anotherIsRunning(), blocks);
        if (!blocks && lock != u"nofolder") // this copy holds it now
            QVERIFY(platform::LockFileInstance(u"probe"_s).anotherIsRunning());
    }

    void runtimeFolderIsPrivate_data() {
        QTest::addColumn<QString>("runtime");  // what $XDG_RUNTIME_DIR names: private, open (0777) or a link
        QTest::addColumn<QString>("fallback"); // what is already at the program's fallback, if anything
        QTest::addColumn<QString>("used");     // runtime, fallback, or none
        QTest::newRow("private") << u"private"_s << u""_s << u"runtime"_s;
        QTest::newRow("open to others") << u"open"_s << u""_s << u"fallback"_s;
        QTest::newRow("a link") << u"link"_s << u""_s << u"fallback"_s;
        QTest::newRow("fallback open to others too") << u"open"_s << u"open"_s << u"none"_s;
        QTest::newRow("fallback a link too") << u"open"_s << u"link"_s << u"none"_s;
    }

    void runtimeFolderIsPrivate() {
#ifdef Q_OS_WIN
        QSKIP("Windows keeps the user's application data private: no Unix modes to check");
#endif
        QFETCH(QString, runtime);
        QFETCH(QString, fallback);
        QFETCH(QString, used);
        const QString root = m_dir->path();
        // A folder of the given kind at `path`, made from `real`.
        const auto make = [](const QString& kind, const QString& path, const QString& real) {
            QDir().mkpath(real);
            QDir().mkpath(QFileInfo(path).path());
            QFile::setPermissions(real, QFile::Permissions::fromInt(kind == u"open" ? 0x7777 : 0x7700));
            if (kind == u"link")
                QFile::link(real, path);
        };
        make(runtime, root + u"/runtime"_s, root + (runtime == u"link" ? u"/real"_s : u"/runtime"_s));
        if (!fallback.isEmpty())
            make(fallback, root + u"/cache/expander-runtime"_s,
                 root + (fallback == u"link" ? u"/real2"_s : u"/cache/expander-runtime"_s));
        // Qt's own fallback is made unusable too, so that only the program's is left.
        qputenv("TMPDIR", root.toLocal8Bit());
        qputenv("XDG_CACHE_HOME", (root + u"/cache"_s).toLocal8Bit());
        qunsetenv("XDG_RUNTIME_DIR");
        QFile::setPermissions(QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation),
                              QFile::Permissions::fromInt(0x7777));
        qputenv("XDG_RUNTIME_DIR", (root + u"/runtime"_s).toLocal8Bit());

        const QString dir = platform::runtimeDir();
        qunsetenv("TMPDIR");
        qunsetenv("XDG_CACHE_HOME");
        QCOMPARE(dir, used == u"none"
                          ? QString()
                          : root + (used == u"runtime" ? u"/runtime"_s : u"/cache/expander-runtime"_s));
        QVERIFY(dir.isEmpty() || (QFileInfo(dir).permissions().toInt() & 0x77) == 0);
    }

    void openFailure_data() {
        QTest::addColumn<QSerialPort::SerialPortError>("error");
        QTest::addColumn<bool>("accessible"); // this user may read and write the device
        QTest::addColumn<SerialFault>("meaning");
        QTest::newRow("not found") << QSerialPort::DeviceNotFoundError << false
                                   << SerialFault::DeviceNotFound;
        QTest::newRow("locked by another program")
            << QSerialPort::PermissionError << true << SerialFault::InUse;
        QTest::newRow("not this user's") << QSerialPort::PermissionError << false << SerialFault::Permission;
        QTest::newRow("anything else") << QSerialPort::OpenError << true << SerialFault::Open;
        QTest::newRow("no error told") << QSerialPort::NoError << true << SerialFault::Open;
    }

    void openFailure() {
        QFETCH(QSerialPort::SerialPortError, error);
        QFETCH(bool, accessible);
        QFETCH(SerialFault, meaning);
        QCOMPARE(platform::QtSerialControl::openFailure(error, accessible), meaning);
    }

    void comPortByName() {
        const QString name = qEnvironmentVariable("EXPANDER_TEST_COM");
        if (name.isEmpty())
            QSKIP("no COM port given");
        platform::QtSerialControl port;
        QVERIFY(port.open(name, {}).ok());
        QVERIFY(port.open(u"\\\\.\\"_s + name, {}).ok()); // the device path names it too
        QVERIFY(port.open(u"COM250"_s, {}) == platform::OpenResult(SerialFault::DeviceNotFound));
    }

    void relativePathsAreTheWorkingFolders_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("fromWorkingFolder");
        QTest::newRow("relative path") << QStringLiteral("sims/sim1") << true;
        QTest::newRow("bare device name") << QStringLiteral("sim1") << false;
        QTest::newRow("relative path to nothing") << QStringLiteral("sims/none") << false;
        QTest::newRow("full path") << QStringLiteral("/dev/ttyS0") << false;
    }

    void relativePathsAreTheWorkingFolders() {
        QFETCH(QString, name);
        QFETCH(bool, fromWorkingFolder);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("sims")));
        QFile(dir.filePath(QStringLiteral("sims/sim1"))).open(QIODevice::WriteOnly);
        QFile(dir.filePath(QStringLiteral("sim1"))).open(QIODevice::WriteOnly);
        const QString before = QDir::currentPath();
        QDir::setCurrent(dir.path());
        const QString location = platform::QtSerialControl::location(name);
        QDir::setCurrent(before);
        QCOMPARE(location, fromWorkingFolder ? QFileInfo(dir.filePath(name)).absoluteFilePath() : name);
    }

    void unusableNamesAreNotFound_data() {
        QTest::addColumn<QString>("name");
        QTest::newRow("missing") << QStringLiteral("/dev/does-not-exist-expander");
        QTest::newRow("NUL") << QString(QChar(0)) + QStringLiteral("/dev/null");
        QTest::newRow("control character") << QStringLiteral("/dev/tty\u0001S0");
        QTest::newRow("direction mark") << QStringLiteral("/dev/ttyS0\u202e");
        QTest::newRow("too long") << QString(300, QLatin1Char('a'));
    }

    void unusableNamesAreNotFound() {
        QFETCH(QString, name);
        platform::QtSerialControl port;
        QCOMPARE(port.open(name, {}).fault(), SerialFault::DeviceNotFound);
        QVERIFY(!port.isOpen());
        QCOMPARE(port.write(QByteArray("@")), qint64(-1));
    }

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

QTEST_GUILESS_MAIN(TestPlatform)
#include "tst_platform.moc"
