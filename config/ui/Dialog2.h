// SPDX-License-Identifier: MIT
#pragma once

#include "config/NetworkFrame.h"

#include <QDialog>

#include <array>

class QLabel;
class QLineEdit;
class QPushButton;

// The network parameters dialog "网络参数设置": eighteen octet boxes and the read and write
// requests, which the main window sends on its timers while this dialog stays open.
namespace config {

class Dialog2 final : public QDialog {
    Q_OBJECT
public:
    explicit Dialog2(QWidget* parent = nullptr);

    // Shows the dialog modally; the first showing centres it over `main`, later ones keep its place.
    void run(const QWidget* main);

    OctetTexts octetTexts() const;
    void setOctetText(int index, const QString& text);
    void focusBox(int index);
    // A box whose device value differs from the one expected: a thick frame, and `note` as tooltip
    // and accessible description; an empty note takes the mark away.
    void markOctet(int index, const QString& note);

    // The longest text a box takes: enough to show the codec's own refusal of over five characters.
    static constexpr int MaxBoxLength = 16;

Q_SIGNALS:
    void readRequested();  // 同步
    void writeRequested(); // 设置

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Text1_Change(int index);
    void Command2_Click();

    std::array<QLineEdit*, protocol::frame::NetworkOctets> Text1{};
    QPushButton* Command2;     // 清空
    QPushButton* Command1;     // 同步
    QPushButton* OKButton;     // 设置
    QPushButton* CancelButton; // 取消
    bool m_placed = false;
};

} // namespace config
