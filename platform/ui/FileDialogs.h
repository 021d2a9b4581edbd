// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

class QWidget;

// The dialogs that ask for a file to open or save, so that tests can answer them without a screen.
namespace platform {

class FileDialogs {
public:
    virtual ~FileDialogs() = default;

    // The chosen file, or an empty text when the operator cancelled. `filters` as QFileDialog takes
    // them ("配置文件 (*.json);;所有文件 (*)"); `selectedFilter` gets the one chosen for saving.
    virtual QString openFileName(QWidget* parent, const QString& title, const QString& filters) = 0;
    virtual QString saveFileName(QWidget* parent, const QString& title, const QString& suggested,
                                 const QString& filters, QString* selectedFilter = nullptr) = 0;
};

} // namespace platform
