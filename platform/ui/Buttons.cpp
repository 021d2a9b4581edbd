// SPDX-License-Identifier: MIT
#include "platform/ui/Buttons.h"

#include <QPushButton>

namespace platform {

QPushButton* toolButton(QWidget* parent, const char* objectName, const QString& caption) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(objectName));
    button->setAutoDefault(false);
    return button;
}

} // namespace platform
