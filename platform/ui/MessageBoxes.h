#pragma once

#include <QString>

// Modal message boxes with an OK button only, so that tests can answer them without a screen.
namespace platform {

class MessageBoxes {
public:
    enum class Icon { None, Information };
    virtual ~MessageBoxes() = default;
    // Returns once the operator has pressed OK. An empty title means the application title.
    virtual void show(const QString& text, const QString& title, Icon icon) = 0;
};

} // namespace platform
