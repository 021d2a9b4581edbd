// SPDX-License-Identifier: MIT
// The real serial control's reading of why a port would not open, and the names it refuses; with
// EXPANDER_TEST_COM (the Wine run), a COM port opened by its name and by its device path.
#include "platform/QtSerialControl.h"

#include <QtTest>

using platform::SerialFault;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(platform::SerialFault)

class TestQtSerialControl : public QObject {
    Q_OBJECT
private Q_SLOTS:
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
};

QTEST_GUILESS_MAIN(TestQtSerialControl)
#include "tst_qtserialcontrol.moc"
