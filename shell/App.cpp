#include "shell/App.h"

#include "shell/Form1.h"

namespace shell {

App::App(Services services) : m_form(std::make_unique<Form1>(services)) {}

App::~App() = default;

bool App::Main() {
    if (!m_form->Form_Load())
        return false; // never shown
    m_form->show();
    m_form->portChoice().PcPortChosen = false;
    return true;
}

} // namespace shell
