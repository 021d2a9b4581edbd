// SPDX-License-Identifier: MIT
// The window on its demonstration device: port list to synchronised panels (picture saved to
// EXPANDER_SCREENSHOT); at the scaling given (QT_SCALE_FACTOR) nothing overlapping or cut.
#include "FormHarness.h"
#include "demo/DemoPortList.h"
#include "demo/DemoSerialControl.h"
#include "shell/App.h"

#include <QGroupBox>

using testing::find;

namespace {

struct DemoProgram {
    demo::DemoSerialControl serial{std::make_unique<platform::FakeSerialControl>()};
    testing::Fakes f;
    demo::DemoPortList ports{f.ports};
    shell::App app{{serial, ports, f.messages, f.instance, f.files, [](const QString&) {
                        return std::make_unique<demo::DemoSerialControl>(
                            std::make_unique<platform::FakeSerialControl>());
                    }}};

    DemoProgram() {
        f.ports.names = {u"COM1"_s, u"COM12"_s};
        app.Main();
    }
    QPushButton* button(const char* name) { return find<QPushButton>(&app.window(), name); }
};

// The text a control shows, and the width it has for it.
std::pair<QString, int> caption(const QWidget* w) {
    if (auto* label = qobject_cast<const QLabel*>(w))
        return {label->text(), label->contentsRect().width()};
    if (auto* button = qobject_cast<const QAbstractButton*>(w))
        return {button->text(), button->width() - 6};
    if (auto* frame = qobject_cast<const QGroupBox*>(w))
        return {frame->title(), frame->width() - 12};
    return {};
}

// More than the one pixel that rounding the designed twips to pixels may give two neighbours.
bool overlap(const QRect& a, const QRect& b) {
    const QRect common = a & b;
    return common.width() > 1 && common.height() > 1;
}

} // namespace

class TestDemo : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void connectsAndSynchronises() {
        DemoProgram p;
        QString chosen;
        testing::onNextModal([&chosen](QDialog* d) {
            chosen = find<QComboBox>(d, "Combo1")->currentText();
            find<QPushButton>(d, "Command2")->click();
        });
        p.button("Command2")->click(); // asks for the settings: the demonstration device is the last port
        p.button("Command2")->click();
        QCOMPARE(chosen, u"DEMO"_s);
        p.button("Command3")->click();
        QTRY_VERIFY(p.f.messages.texts().contains(u"连接成功!"_s));
        for (QComboBox* list : p.app.window().centralWidget()->findChildren<QComboBox*>())
            list->setCurrentIndex(-1);
        p.button("Command6")->click();
        QTRY_VERIFY(p.f.messages.texts().contains(u"扩展串口数据同步成功!"_s));
        QCOMPARE(find<QComboBox>(&p.app.window(), "Combo2_7")->currentText(), u"9600"_s); // factory settings
        QCOMPARE(find<QComboBox>(&p.app.window(), "Combo7_0")->currentText(), u"RS232"_s);
        if (qEnvironmentVariableIsSet("EXPANDER_SCREENSHOT"))
            QVERIFY(p.app.window().grab().save(qEnvironmentVariable("EXPANDER_SCREENSHOT")));
    }

    void designedWindowFits() {
        DemoProgram p;
        const QList<QWidget*> controls = p.app.window().centralWidget()->findChildren<QWidget*>();
        for (const QWidget* w : controls) {
            if (!w->isVisible() || w->objectName().isEmpty() || w->objectName().startsWith(u"qt_"))
                continue;
            const QString name = w->objectName();
            QVERIFY2(w->parentWidget()->rect().contains(w->geometry()), qPrintable(name + u" sticks out"_s));
            for (const QWidget* other : controls)
                if (other != w && other->parentWidget() == w->parentWidget() && other->isVisible() &&
                    !other->objectName().isEmpty() && overlap(other->geometry(), w->geometry()))
                    QFAIL(qPrintable(name + u" overlaps "_s + other->objectName()));
            const auto [text, room] = caption(w);
            const QFontMetrics metrics(w->font());
            QVERIFY2(metrics.horizontalAdvance(text) <= room, qPrintable(name + u" cuts "_s + text));
            QVERIFY2(text.isEmpty() || metrics.height() <= w->height(),
                     qPrintable(name + u" cuts "_s + text));
        }
    }
};

QTEST_MAIN(TestDemo)
#include "tst_demo.moc"
