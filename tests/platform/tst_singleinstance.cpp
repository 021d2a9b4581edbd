// The single-instance rule: which lock files block a start, the private runtime folder they live
// in, and two real copies of the program.
#include "platform/LockFileInstance.h"
#include "platform/RuntimeDir.h"

#include <QLockFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::StringLiterals;

class TestSingleInstance : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void lockStates_data();
    void lockStates();
    void runtimeFolderIsPrivate_data();
    void runtimeFolderIsPrivate();
    void secondCopyIsTurnedAwayUntilTheFirstDies();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestSingleInstance::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    QFile::setPermissions(m_dir->path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("XDG_RUNTIME_DIR", m_dir->path().toLocal8Bit());
}

void TestSingleInstance::lockStates_data() {
    QTest::addColumn<QString>("lock"); // what the lock file holds, or "live" for a copy holding it
    QTest::addColumn<int>("ageMs");
    QTest::addColumn<bool>("blocks");
    QTest::newRow("no lock") << QString() << 0 << false;
    QTest::newRow("held by a live copy") << "live" << 0 << true;
    QTest::newRow("empty, left long ago") << "" << 60000 << false;
    QTest::newRow("garbled, left long ago") << "\x01garbage\n" << 60000 << false;
    QTest::newRow("empty, being written") << "" << 0 << true;
    QTest::newRow("no folder for it") << "nofolder" << 0 << false;
}

void TestSingleInstance::lockStates() {
    QFETCH(QString, lock);
    QFETCH(int, ageMs);
    QFETCH(bool, blocks);
    const QString path = m_dir->path() + QStringLiteral("/probe.lock");
    QLockFile live(path);
    if (lock == QLatin1String("live")) {
        QVERIFY(live.tryLock(0));
    } else if (!lock.isNull() && lock != QLatin1String("nofolder")) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(lock.toLatin1());
        file.flush(); // written now, so that the time set below stays
        file.setFileTime(QDateTime::currentDateTime().addMSecs(-ageMs), QFileDevice::FileModificationTime);
    }
    platform::LockFileInstance instance(lock == QLatin1String("nofolder") ? QStringLiteral("missing/probe")
                                                                          : QStringLiteral("probe"));
    QCOMPARE(instance.anotherIsRunning(), blocks);
    if (!blocks && lock != QLatin1String("nofolder")) { // this copy holds it now
        platform::LockFileInstance next(QStringLiteral("probe"));
        QVERIFY(next.anotherIsRunning());
    }
}

void TestSingleInstance::runtimeFolderIsPrivate_data() {
    QTest::addColumn<QString>("runtime");  // what $XDG_RUNTIME_DIR names: private, open (0777) or a link
    QTest::addColumn<QString>("fallback"); // what is already at the program's fallback, if anything
    QTest::addColumn<QString>("used");     // runtime, fallback, or none
    QTest::newRow("private") << "private"
                             << ""
                             << "runtime";
    QTest::newRow("open to others") << "open"
                                    << ""
                                    << "fallback";
    QTest::newRow("a link") << "link"
                            << ""
                            << "fallback";
    QTest::newRow("fallback open to others too") << "open"
                                                 << "open"
                                                 << "none";
    QTest::newRow("fallback a link too") << "open"
                                         << "link"
                                         << "none";
}

void TestSingleInstance::runtimeFolderIsPrivate() {
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

void TestSingleInstance::secondCopyIsTurnedAwayUntilTheFirstDies() {
    const auto start = [this](QProcess& p) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_dir->path());
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        p.setProcessEnvironment(env);
        p.start(QStringLiteral(PROBE_PATH), {});
    };
    QProcess first;
    start(first);
    QByteArray out; // the macro reads its condition once more at the end: keep what was read
    QTRY_VERIFY((out += first.readAllStandardOutput()).contains("shown"));
    QProcess second;
    start(second);
    QVERIFY(second.waitForFinished(10000));
    QCOMPARE(second.exitCode(), 0);
    QCOMPARE(QString::fromUtf8(second.readAllStandardOutput()),
             QStringLiteral("message: 程序已经运行,请检查是否最小化!.|系统提示|information\n"));
    QCOMPARE(first.state(), QProcess::Running); // untouched
    first.kill();                               // SIGKILL: its lock file stays behind
    QVERIFY(first.waitForFinished(3000));
    QProcess next;
    start(next);
    out.clear();
    QTRY_VERIFY((out += next.readAllStandardOutput()).contains("shown"));
    next.kill();
    next.waitForFinished(3000);
}

QTEST_GUILESS_MAIN(TestSingleInstance)
#include "tst_singleinstance.moc"
