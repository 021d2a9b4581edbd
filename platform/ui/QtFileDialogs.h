// SPDX-License-Identifier: MIT
#pragma once

#include "platform/ui/FileDialogs.h"

// The file dialogs as QFileDialog shows them; each starts in the folder last used.
namespace platform {

class QtFileDialogs final : public FileDialogs {
public:
    QString openFileName(QWidget* parent, const QString& title, const QString& filters) override;
    QString saveFileName(QWidget* parent, const QString& title, const QString& suggested,
                         const QString& filters, QString* selectedFilter) override;

private:
    QString m_folder; // for the run only: the program keeps nothing between runs
};

} // namespace platform
