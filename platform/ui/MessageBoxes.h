// SPDX-License-Identifier: MIT
#pragma once

#include <QList>
#include <QString>

#include <utility>

// Modal message boxes with an OK button only, so that tests can answer them without a screen.
namespace platform {

class MessageBoxes {
public:
    enum class Icon { None, Information };
    virtual ~MessageBoxes() = default;

    // Returns once the operator has pressed OK. An empty title means the application title.
    // The event loop runs while a box waits, so more replies may ask for the same box meanwhile: a
    // box with the same title and text as one still open is not opened again, and the call returns
    // at once.
    void show(const QString& text, const QString& title, Icon icon);

protected:
    // Shows one box and returns when it is closed.
    virtual void present(const QString& text, const QString& title, Icon icon) = 0;

private:
    QList<std::pair<QString, QString>> m_open; // title and text of every box now open
};

} // namespace platform
