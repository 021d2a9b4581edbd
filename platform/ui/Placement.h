// SPDX-License-Identifier: MIT
#pragma once

class QWidget;

// Where the windows open: the main window centred on its screen, the dialogs centred over it.
namespace platform {

// Left = (screen width - window width) / 2, Top likewise, unclamped.
void centreOnScreen(QWidget* window);
// Left = main.Left + (main.Width - own width) / 2, Top likewise, using outer sizes.
void centreOver(QWidget* window, const QWidget* main);

} // namespace platform
