#include "shell/App.h"

#include "shell/Form1.h"

#include <QApplication>
#include <QFont>

namespace shell {

App::App(Services services) {
    // Chinese text in the simplified-Chinese face everywhere, the face the command line names too.
    // Left to fontconfig, a non-Chinese locale gives the labels another face of the same font
    // collection (Japanese forms), loaded on top of it: slower and larger for nothing.
    QFont font = QApplication::font();
    font.setFamilies(
        {font.family(), QStringLiteral("Noto Sans CJK SC"), QStringLiteral("WenQuanYi Micro Hei")});
    QApplication::setFont(font);
    m_form = std::make_unique<Form1>(services);
}

App::~App() = default;

bool App::Main() {
    if (!m_form->Form_Load())
        return false; // never shown
    m_form->show();
    m_form->portChoice().PcPortChosen = false;
    return true;
}

} // namespace shell
