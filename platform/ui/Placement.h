// SPDX-License-Identifier: MIT
#pragma once

class QWidget;

// Where the windows open: the main window centred on its screen, the dialogs centred over it.
namespace platform {

// Design sizes are in twips, 15 to a pixel at the designed 96 dpi.
constexpr int px(int twips) {
    return twips / 15;
}

// Left = (screen width - window width) / 2, Top likewise, unclamped.
void centreOnScreen(QWidget* window);
// Left = main.Left + (main.Width - own width) / 2, Top likewise, using outer sizes.
void centreOver(QWidget* window, const QWidget* main);

} // namespace platform
