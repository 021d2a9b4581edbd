// SPDX-License-Identifier: MIT
#include "platform/ui/QtMessageBoxes.h"

#include <QApplication>
#include <QMessageBox>

namespace platform {

QtMessageBoxes::QtMessageBoxes(QString applicationTitle) : m_applicationTitle(std::move(applicationTitle)) {}

void QtMessageBoxes::present(const QString& text, const QString& title, Icon icon) {
    // Over the active modal dialog when there is one, so the box is never hidden behind it.
    QWidget* parent = QApplication::activeModalWidget();
    if (!parent)
        parent = m_parent;
    QMessageBox box(icon == Icon::Information ? QMessageBox::Information : QMessageBox::NoIcon,
                    title.isEmpty() ? m_applicationTitle : title, text, QMessageBox::Ok, parent);
    box.setObjectName(QStringLiteral("MessageBox"));
    box.exec();
}

} // namespace platform
