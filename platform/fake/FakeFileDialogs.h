// SPDX-License-Identifier: MIT
#pragma once

#include "platform/ui/FileDialogs.h"

#include <QStringList>

// File dialogs that answer at once with the file the test set (empty: cancelled) and remember
// what they were asked.
namespace platform {

class FakeFileDialogs final : public FileDialogs {
public:
    QString openFileName(QWidget*, const QString& title, const QString&) override {
        titles.append(title);
        return file;
    }
    QString saveFileName(QWidget*, const QString& title, const QString&, const QString&,
                         QString* selectedFilter) override {
        titles.append(title);
        if (selectedFilter)
            *selectedFilter = filter;
        return file;
    }

    QString file;
    QString filter; // the filter the operator picked when saving
    QStringList titles;
};

} // namespace platform
