// The real serial control's reading of why a port would not open, and the names it refuses.
#include "platform/QtSerialControl.h"

#include <QtTest>

Q_DECLARE_METATYPE(platform::SerialError)

class TestQtSerialControl : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void openFailure_data();
    void openFailure();
    void unusableNamesAreNotFound_data();
    void unusableNamesAreNotFound();
};

void TestQtSerialControl::openFailure_data() {
    QTest::addColumn<QSerialPort::SerialPortError>("error");
    QTest::addColumn<bool>("accessible"); // this user may read and write the device
    QTest::addColumn<platform::SerialError>("meaning");
    QTest::newRow("not found") << QSerialPort::DeviceNotFoundError << false
                               << platform::SerialError::DeviceNotFound;
    QTest::newRow("locked by another program")
        << QSerialPort::PermissionError << true << platform::SerialError::InUse;
    QTest::newRow("not this user's") << QSerialPort::PermissionError << false
                                     << platform::SerialError::Permission;
    QTest::newRow("anything else") << QSerialPort::OpenError << true << platform::SerialError::Open;
    QTest::newRow("no error told") << QSerialPort::NoError << true << platform::SerialError::Open;
}

void TestQtSerialControl::openFailure() {
    QFETCH(QSerialPort::SerialPortError, error);
    QFETCH(bool, accessible);
    QFETCH(platform::SerialError, meaning);
    QCOMPARE(platform::QtSerialControl::openFailure(error, accessible), meaning);
}

void TestQtSerialControl::unusableNamesAreNotFound_data() {
    QTest::addColumn<QString>("name");
    QTest::newRow("missing") << QStringLiteral("/dev/does-not-exist-expander");
    QTest::newRow("NUL") << QString(QChar(0)) + QStringLiteral("/dev/null");
    QTest::newRow("control character") << QStringLiteral("/dev/tty\u0001S0");
    QTest::newRow("direction mark") << QStringLiteral("/dev/ttyS0\u202e");
    QTest::newRow("too long") << QString(300, QLatin1Char('a'));
}

void TestQtSerialControl::unusableNamesAreNotFound() {
    QFETCH(QString, name);
    platform::QtSerialControl port;
    QCOMPARE(port.open(name, {}).fault(), platform::SerialError::DeviceNotFound);
    QVERIFY(!port.isOpen());
    QCOMPARE(port.write(QByteArray("@")), qint64(-1));
}

QTEST_GUILESS_MAIN(TestQtSerialControl)
#include "tst_qtserialcontrol.moc"
