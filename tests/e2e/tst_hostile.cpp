// SPDX-License-Identifier: MIT
// A line that floods the program with noise, in one burst or as a trickle that is never quiet:
// every byte is read in bounded pieces, nothing is taken for a reply, and the port stays open.
#include "FormHarness.h"
#include "platform/QtSerialControl.h"
#include "platform/fake/PtyPair.h"

#include <QRandomGenerator>

class TestHostile : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void flood_data() {
        QTest::addColumn<int>("piece"); // bytes written at a time, 2 ms apart
        QTest::newRow("one burst") << 100000;
        QTest::newRow("a trickle") << 500;
    }

    void flood() {
        QFETCH(int, piece);
        platform::PtyPair pty;
        platform::QtSerialControl serial;
        testing::Fakes f;
        f.ports.names = {pty.slavePath()};
        shell::Form1 form({serial, f.ports, f.messages, f.instance, f.files, {}});
        form.Form_Load();
        testing::pressInNextModal("Command2");
        testing::find<QPushButton>(&form, "Command2")->click();
        testing::find<QPushButton>(&form, "Command2")->click();
        QVERIFY(serial.isOpen());

        QRandomGenerator random(7);
        QByteArray noise(100000, Qt::Uninitialized);
        for (char& b : noise) // never a start byte, so no part of it is a reply
            b = char(0x41 + random.bounded(0xBF));
        for (qsizetype i = 0; i < noise.size(); i += piece) {
            QVERIFY(pty.write(noise.mid(i, piece)));
            QTest::qWait(2); // a trickle: never as long a pause as the quiet time
        }
        // Read to the end: the command line shows the last reading, at most the receive buffer.
        auto* line = testing::find<QPlainTextEdit>(&form, "Text1");
        QTRY_VERIFY_WITH_TIMEOUT(
            line->toPlainText().endsWith(QString::fromLatin1(noise.right(16).toHex().toUpper())), 30000);
        const QString shown = line->toPlainText();
        QVERIFY(!shown.isEmpty() && noise.toHex().toUpper().endsWith(shown.toLatin1()));
        QVERIFY2(shown.size() <= 2 * 4096, qPrintable(QString::number(shown.size())));
        QCOMPARE(f.messages.shown.size(), 1); // only the request for settings
        QVERIFY(serial.isOpen());
    }
};

QTEST_MAIN(TestHostile)
#include "tst_hostile.moc"
