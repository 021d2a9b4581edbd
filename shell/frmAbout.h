// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

// The About box: the program's icon, title, version and description, and one button.
namespace shell {

class frmAbout final : public QDialog {
    Q_OBJECT
public:
    // Centred over `main` when loaded.
    explicit frmAbout(QWidget* main);

    QLabel* picIcon;
    QLabel* lblTitle;
    QLabel* lblVersion;
    QLabel* lblDescription;
    QPushButton* cmdOK;
};

} // namespace shell
