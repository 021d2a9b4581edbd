#include "platform/SimRegistry.h"

#include <QDeadlineTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

constexpr int kWaitMs = 5000; // the bound of every wait; nothing here should take near as long

QByteArray hex(const char* digits) {
    return QByteArray::fromHex(digits);
}

// True while the link itself exists, dangling or not.
bool linkExists(const QString& path) {
    struct stat info {};
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0;
}

// A port opened the way a serial program opens it: raw, no controlling terminal.
class RawPort {
public:
    explicit RawPort(const QString& path) {
        m_fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        if (m_fd < 0)
            return;
        termios settings{};
        ::tcgetattr(m_fd, &settings);
        ::cfmakeraw(&settings);
        ::tcsetattr(m_fd, TCSANOW, &settings);
    }
    ~RawPort() {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    RawPort(const RawPort&) = delete;
    RawPort& operator=(const RawPort&) = delete;

    bool isOpen() const { return m_fd >= 0; }
    bool write(const QByteArray& bytes) {
        return ::write(m_fd, bytes.constData(), size_t(bytes.size())) == bytes.size();
    }

    // What one read returns once something has arrived; empty when nothing came in time, or on a
    // hang-up (hungUp() tells).
    QByteArray readOnce(int timeoutMs = kWaitMs) {
        pollfd p{m_fd, POLLIN, 0};
        if (::poll(&p, 1, timeoutMs) <= 0)
            return {};
        if (p.revents & (POLLHUP | POLLERR))
            m_hungUp = true;
        char buffer[512];
        const ssize_t n = ::read(m_fd, buffer, sizeof buffer);
        if (n <= 0) {
            m_hungUp = m_hungUp || n == 0 || errno == EIO;
            return {};
        }
        return QByteArray(buffer, n);
    }
    // Reads until `count` bytes have come or the time is up.
    QByteArray read(qsizetype count) {
        QByteArray bytes;
        QDeadlineTimer deadline(kWaitMs);
        while (bytes.size() < count && !deadline.hasExpired() && !m_hungUp)
            bytes += readOnce(int(deadline.remainingTime()));
        return bytes;
    }
    bool hungUp() const { return m_hungUp; }

private:
    int m_fd = -1;
    bool m_hungUp = false;
};

// The built simulator, started and read up to its "ready" line.
class Simulator {
public:
    ~Simulator() {
        if (process.state() != QProcess::NotRunning) {
            process.kill();
            process.waitForFinished(kWaitMs);
        }
    }

    bool start(const QStringList& arguments = {}) {
        process.start(QStringLiteral(SIM_PATH), arguments);
        if (!process.waitForStarted(kWaitMs))
            return false;
        QDeadlineTimer deadline(kWaitMs);
        while (!lines.contains(u"ready"_s) && !deadline.hasExpired()) {
            if (!process.canReadLine() && !process.waitForReadyRead(int(deadline.remainingTime())))
                break;
            while (process.canReadLine())
                lines.append(QString::fromLocal8Bit(process.readLine()).trimmed());
        }
        if (lines.size() != 11 || lines.last() != u"ready"_s)
            return false;
        mainPath = lines.at(0);
        link = lines.at(1).mid(QStringLiteral("registered: ").size());
        for (int n = 1; n <= 8; ++n)
            ports.append(lines.at(1 + n).mid(u"port %1: "_s.arg(n).size()));
        return true;
    }

    // Everything logged so far; call once the process has ended for the whole log.
    QString log() { return m_log += QString::fromUtf8(process.readAllStandardError()); }
    // Waits until the log holds `text`, at most kWaitMs.
    bool waitForLog(const QString& text) {
        QDeadlineTimer deadline(kWaitMs);
        while (!log().contains(text)) {
            if (deadline.hasExpired())
                return false;
            process.waitForReadyRead(50);
        }
        return true;
    }

    QProcess process;
    QStringList lines;
    QString mainPath;
    QString link;
    QStringList ports;

private:
    QString m_log;
};

} // namespace

class SimulatorProcessTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void announcesItsPorts();
    void endsAndUnregisters_data();
    void endsAndUnregisters();
    void runsBesideASecondSimulator();
    void documentsItsOptions();

private:
    QTemporaryDir m_runtime;
};

void SimulatorProcessTest::initTestCase() {
    QVERIFY(m_runtime.isValid());
    // A registry of this run's own, inherited by every simulator started here.
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(m_runtime.path()));
    QVERIFY2(QFileInfo(QStringLiteral(SIM_PATH)).isExecutable(), SIM_PATH);
}

void SimulatorProcessTest::announcesItsPorts() {
    Simulator sim;
    QVERIFY2(sim.start(), qPrintable(sim.lines.join(u'\n')));
    QVERIFY(sim.mainPath.startsWith(u"/dev/"_s));
    QCOMPARE(QFileInfo(sim.link).symLinkTarget(), sim.mainPath);
    QVERIFY(sim.link.startsWith(platform::SimRegistry::directory()));
    QVERIFY(platform::SimRegistry::ports().contains(sim.link));
    QStringList all = sim.ports;
    all.append(sim.mainPath);
    all.removeDuplicates();
    QCOMPARE(all.size(), 9);
    for (const QString& port : sim.ports)
        QVERIFY2(QFileInfo::exists(port), qPrintable(port));
}

void SimulatorProcessTest::endsAndUnregisters_data() {
    QTest::addColumn<QString>("how");
    QTest::newRow("SIGTERM") << u"term"_s;
    QTest::newRow("SIGINT") << u"int"_s;
    QTest::newRow("--hangup-after 2") << u"hangup"_s;
}

void SimulatorProcessTest::endsAndUnregisters() {
    QFETCH(QString, how);
    Simulator sim;
    QVERIFY(sim.start(how == u"hangup"_s ? QStringList{u"--hangup-after"_s, u"2"_s} : QStringList{}));
    QVERIFY(linkExists(sim.link));
    RawPort main(sim.mainPath);
    QVERIFY(main.isOpen());
    QVERIFY(main.write(hex("4002F123")));
    QCOMPARE(main.read(4).toHex(), hex("4002E123").toHex());
    QVERIFY(sim.process.state() == QProcess::Running);

    if (how == u"term"_s) {
        sim.process.terminate();
    } else if (how == u"int"_s) {
        ::kill(pid_t(sim.process.processId()), SIGINT);
    } else {
        // The second request is answered, then the device hangs up by itself.
        QVERIFY(main.write(hex("4002FB23")));
        QCOMPARE(main.read(30).size(), 30);
        main.read(1);
        QVERIFY(main.hungUp());
    }
    QVERIFY(sim.process.waitForFinished(kWaitMs));
    QCOMPARE(sim.process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(sim.process.exitCode(), 0);
    QVERIFY(!linkExists(sim.link));
    QVERIFY(!platform::SimRegistry::ports().contains(sim.link));
}

void SimulatorProcessTest::runsBesideASecondSimulator() {
    Simulator first;
    Simulator second;
    QVERIFY(first.start());
    QVERIFY(second.start({u"--delay"_s, u"10"_s}));
    QVERIFY(first.mainPath != second.mainPath);
    QVERIFY(first.link != second.link);
    const QStringList registered = platform::SimRegistry::ports();
    QVERIFY(registered.contains(first.link) && registered.contains(second.link));

    RawPort a(first.mainPath);
    RawPort b(second.mainPath);
    QVERIFY(a.write(hex("4002FB23")));
    QVERIFY(b.write(hex("4002F123")));
    QCOMPARE(b.read(4).toHex(), hex("4002E123").toHex());
    QCOMPARE(a.read(30).left(3).toHex(), hex("401CFB").toHex());

    second.process.terminate();
    QVERIFY(second.process.waitForFinished(kWaitMs));
    // The first goes on, still registered.
    QVERIFY(platform::SimRegistry::ports().contains(first.link));
    QVERIFY(a.write(hex("4002F123")));
    QCOMPARE(a.read(4).toHex(), hex("4002E123").toHex());
}

void SimulatorProcessTest::documentsItsOptions() {
    QProcess help;
    help.start(QStringLiteral(SIM_PATH), {u"--help"_s});
    QVERIFY(help.waitForFinished(kWaitMs));
    const QString text = QString::fromLocal8Bit(help.readAllStandardOutput());
    for (const QString& word :
         {u"--delay"_s, u"--split-gap"_s, u"--drop-every"_s, u"--corrupt-end-every"_s, u"--garbage"_s,
          u"--double"_s, u"--hangup-after"_s, u"--random-faults"_s, u"--quiet"_s, u"no reply"_s,
          u"192.168.1.100"_s, u"00:08:DC:01:02:03"_s, u"08 03 02"_s})
        QVERIFY2(text.contains(word), qPrintable(word));

    QProcess bad;
    bad.start(QStringLiteral(SIM_PATH), {u"--drop-every"_s, u"0"_s});
    QVERIFY(bad.waitForFinished(kWaitMs));
    QCOMPARE(bad.exitCode(), 2);
    QVERIFY(bad.readAllStandardOutput().isEmpty()); // no ports announced
}

QTEST_GUILESS_MAIN(SimulatorProcessTest)
#include "tst_sim_process.moc"
