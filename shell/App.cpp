// SPDX-License-Identifier: MIT
#include "shell/App.h"

#include "platform/ChineseFaces.h"
#include "shell/Form1.h"
#include "shell/Titles.h"

#include <QApplication>
#include <QFont>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace shell {

App::App(Services services) {
    // The name only: a display name would be appended to every window title ("注意 — ...").
    QApplication::setApplicationName(ProgramName.toString());
    QApplication::setApplicationVersion(QStringLiteral(EXPANDER_VERSION));
    // Qt's own texts (the message boxes' "确定", the edit menus) in Chinese like the rest.
    auto* translator = new QTranslator(qApp);
    if (translator->load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qtbase"),
                         QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(translator);
    // Chinese text in the system's simplified-Chinese face everywhere, the face the command line
    // names too. Left to fontconfig, a non-Chinese locale gives the labels another face of the same
    // font collection (Japanese forms), loaded on top of it: slower and larger for nothing.
    QFont font = QApplication::font();
    font.setFamilies(QStringList{font.family()} + platform::chineseFaces());
    QApplication::setFont(font);
    m_form = std::make_unique<Form1>(services);
}

App::~App() = default;

bool App::Main() {
    if (!m_form->Form_Load())
        return false; // never shown
    m_form->show();
    // The port choice starts unconfirmed: the window's own initial state.
    return true;
}

} // namespace shell
