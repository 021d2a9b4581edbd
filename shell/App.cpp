// SPDX-License-Identifier: MIT
#include "shell/App.h"

#include "platform/ChineseFaces.h"
#include "shell/Form1.h"
#include "shell/Titles.h"

#include <QApplication>
#include <QFont>
#include <QFontDatabase>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace shell {

QStringList App::chineseFamilies() {
    // The window's own texts come from the glyphs cut for them at build time, a small file that
    // loads at once; the system's faces draw whatever else is typed or read. On Windows the
    // system's own face comes first, as every other program there shows it.
    static const bool builtIn = QFontDatabase::addApplicationFont(QStringLiteral(":/fonts/ui-cjk.otf")) >= 0;
    const QStringList cut = builtIn ? QStringList{QStringLiteral("Expander UI CJK")} : QStringList{};
#if defined(Q_OS_WIN)
    return platform::chineseFaces() + cut;
#else
    return cut + platform::chineseFaces();
#endif
}

QFont App::uiFont() {
    // Chinese text in the simplified-Chinese face everywhere, the face the command line names too.
    // Left to fontconfig, a non-Chinese locale gives the labels another face of the same font
    // collection (Japanese forms), loaded on top of it: slower and larger for nothing.
    QFont font = QApplication::font();
    font.setFamilies(QStringList{font.family()} + chineseFamilies());
    return font;
}

App::App(Services services) {
    // The name only: a display name would be appended to every window title ("注意 — ...").
    QApplication::setApplicationName(ProgramName.toString());
    QApplication::setApplicationVersion(QStringLiteral(EXPANDER_VERSION));
    // Qt's own texts (the message boxes' "确定", the edit menus) in Chinese like the rest.
    auto* translator = new QTranslator(qApp);
    if (translator->load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qtbase"),
                         QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(translator);
    QApplication::setFont(uiFont());
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
