// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

class QPushButton;
class QWidget;

namespace platform {

// A push button of a tool window: found by its object name in tests, and never the dialog's
// default, so Enter in a list or a box does not press it.
QPushButton* toolButton(QWidget* parent, const char* objectName, const QString& caption);

} // namespace platform
