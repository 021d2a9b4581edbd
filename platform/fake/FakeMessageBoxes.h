// SPDX-License-Identifier: MIT
#pragma once

#include "platform/ui/MessageBoxes.h"

#include <QList>

#include <functional>

// Message boxes that are answered at once and remembered, so a test can read what was shown.
namespace platform {

class FakeMessageBoxes final : public MessageBoxes {
public:
    struct Message {
        QString text;
        QString title;
        Icon icon = Icon::None;
    };

    void present(const QString& text, const QString& title, Icon icon) override {
        const Message message{text, title, icon};
        shown.append(message);
        if (whileShown)
            whileShown(message); // runs while the box would be open; may show more boxes
    }

    QStringList texts() const {
        QStringList list;
        for (const Message& m : shown)
            list.append(m.text);
        return list;
    }

    QList<Message> shown;
    std::function<void(const Message&)> whileShown;
};

} // namespace platform
