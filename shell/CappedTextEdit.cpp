// SPDX-License-Identifier: MIT
#include "shell/CappedTextEdit.h"

#include <QKeyEvent>
#include <QMimeData>
#include <QTextBlock>

namespace shell {

CappedTextEdit::CappedTextEdit(int maxLength, QWidget* parent)
    : QPlainTextEdit(parent), m_maxLength(maxLength) {}

qsizetype CappedTextEdit::room() const {
    const QTextCursor cursor = textCursor();
    const qsizetype length = document()->characterCount() - 1; // the last paragraph's end counts too
    return m_maxLength - (length - (cursor.selectionEnd() - cursor.selectionStart()));
}

void CappedTextEdit::insertFromMimeData(const QMimeData* source) {
    if (!source || !source->hasText())
        return;
    const qsizetype fits = room();
    if (fits <= 0)
        return;
    QString text = source->text();
    text.truncate(fits); // the excess is refused before any of it is laid out
    insertPlainText(text);
    ensureCursorVisible();
}

void CappedTextEdit::keyPressEvent(QKeyEvent* event) {
    const QString typed = event->text();
    if (!typed.isEmpty() && typed.at(0).isPrint() && room() < typed.size()) {
        event->accept();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

} // namespace shell
