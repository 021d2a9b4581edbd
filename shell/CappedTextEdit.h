// SPDX-License-Identifier: MIT
#pragma once

#include <QPlainTextEdit>

// A plain-text box that takes at most a fixed number of characters. Whatever is pasted, dropped or
// typed beyond that is refused before it reaches the text's layout, which would otherwise keep
// the window busy for as long as a huge paste takes to lay out.
namespace shell {

class CappedTextEdit final : public QPlainTextEdit {
    Q_OBJECT
public:
    CappedTextEdit(int maxLength, QWidget* parent);
    int maxLength() const { return m_maxLength; }

protected:
    void insertFromMimeData(const QMimeData* source) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // How many more characters fit when the selection is replaced.
    qsizetype room() const;

    int m_maxLength;
};

} // namespace shell
