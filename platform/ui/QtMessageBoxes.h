// SPDX-License-Identifier: MIT
#pragma once

#include "platform/ui/MessageBoxes.h"

#include <QPointer>
#include <QWidget>

// Message boxes as QMessageBox over a parent window.
namespace platform {

class QtMessageBoxes final : public MessageBoxes {
public:
    explicit QtMessageBoxes(QString applicationTitle);
    // The window the boxes are centred over; may change as dialogs come and go.
    void setParentWindow(QWidget* parent) { m_parent = parent; }

protected:
    void present(const QString& text, const QString& title, Icon icon) override;

private:
    QString m_applicationTitle;
    QPointer<QWidget> m_parent;
};

} // namespace platform
