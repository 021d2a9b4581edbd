// SPDX-License-Identifier: MIT
#include "platform/ui/QtFileDialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

namespace platform {

QString QtFileDialogs::openFileName(QWidget* parent, const QString& title, const QString& filters) {
    const QString file = QFileDialog::getOpenFileName(parent, title, m_folder, filters);
    if (!file.isEmpty())
        m_folder = QFileInfo(file).absolutePath();
    return file;
}

QString QtFileDialogs::saveFileName(QWidget* parent, const QString& title, const QString& suggested,
                                    const QString& filters, QString* selectedFilter) {
    const QString start = m_folder.isEmpty() ? suggested : QDir(m_folder).filePath(suggested);
    const QString file = QFileDialog::getSaveFileName(parent, title, start, filters, selectedFilter);
    if (!file.isEmpty())
        m_folder = QFileInfo(file).absolutePath();
    return file;
}

} // namespace platform
