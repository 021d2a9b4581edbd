// SPDX-License-Identifier: MIT
#pragma once

#include "shell/Services.h"

#include <QFont>

#include <memory>

// The start procedure: loads the main window, and shows it unless another copy is running.
namespace shell {

class Form1;

class App {
public:
    explicit App(Services services);
    ~App();
    // Loads and shows the main window; false when this copy must end at once.
    bool Main();
    Form1& window() { return *m_form; }
    // The application's font: the one choice of faces for the whole program.
    static QFont uiFont();
    // The Chinese faces in the order the program asks for them.
    static QStringList chineseFamilies();

private:
    std::unique_ptr<Form1> m_form;
};

} // namespace shell
