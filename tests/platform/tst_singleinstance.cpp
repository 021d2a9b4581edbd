// The single-instance rule with real processes: a second copy is turned away, a crashed first
// copy does not block the next one.
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

class TestSingleInstance : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void secondCopyIsTurnedAway();
    void crashedFirstCopyDoesNotBlock();

private:
    std::unique_ptr<QProcess> start();
    static bool waitForLine(QProcess& p, const QByteArray& line);

    std::unique_ptr<QTemporaryDir> m_runtime;
    std::vector<std::unique_ptr<QProcess>> m_processes;
};

void TestSingleInstance::init() {
    m_runtime = std::make_unique<QTemporaryDir>();
}

void TestSingleInstance::cleanup() {
    for (auto& p : m_processes) {
        p->kill();
        p->waitForFinished(3000);
    }
    m_processes.clear();
}

std::unique_ptr<QProcess> TestSingleInstance::start() {
    auto p = std::make_unique<QProcess>();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_runtime->path());
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    p->setProcessEnvironment(env);
    p->start(QStringLiteral(PROBE_PATH), {});
    return p;
}

bool TestSingleInstance::waitForLine(QProcess& p, const QByteArray& line) {
    QByteArray seen;
    for (int i = 0; i < 100 && !seen.contains(line); ++i) {
        p.waitForReadyRead(100);
        seen += p.readAllStandardOutput();
    }
    return seen.contains(line);
}

void TestSingleInstance::secondCopyIsTurnedAway() {
    auto first = start();
    QVERIFY(waitForLine(*first, "shown"));

    auto second = start();
    QVERIFY(second->waitForFinished(10000));
    QCOMPARE(second->exitStatus(), QProcess::NormalExit);
    QCOMPARE(second->exitCode(), 0);
    const QString output = QString::fromUtf8(second->readAllStandardOutput());
    QCOMPARE(output, QStringLiteral("message: 程序已经运行,请检查是否最小化!.|系统提示|information\n"));

    QCOMPARE(first->state(), QProcess::Running); // untouched
    m_processes.push_back(std::move(first));
}

void TestSingleInstance::crashedFirstCopyDoesNotBlock() {
    auto first = start();
    QVERIFY(waitForLine(*first, "shown"));
    first->kill(); // SIGKILL: its lock file stays behind
    QVERIFY(first->waitForFinished(3000));

    auto next = start();
    QVERIFY(waitForLine(*next, "shown"));
    m_processes.push_back(std::move(next));
}

QTEST_GUILESS_MAIN(TestSingleInstance)
#include "tst_singleinstance.moc"
