// SPDX-License-Identifier: MIT
#include "platform/ui/Placement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace platform {

namespace {
// The outer size: before a window is first shown it has no frame yet, so it is its own size.
QSize outerSize(const QWidget* window) {
    return window->frameGeometry().size().expandedTo(window->size());
}
} // namespace

void centreOnScreen(QWidget* window) {
    const QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->geometry();
    const QSize size = outerSize(window);
    window->move(area.x() + (area.width() - size.width()) / 2,
                 area.y() + (area.height() - size.height()) / 2);
}

void centreOver(QWidget* window, const QWidget* main) {
    if (!main)
        return;
    const QRect outer = main->frameGeometry();
    const QSize size = outerSize(window);
    window->move(outer.x() + (outer.width() - size.width()) / 2,
                 outer.y() + (outer.height() - size.height()) / 2);
}

} // namespace platform
