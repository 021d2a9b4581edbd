// SPDX-License-Identifier: MIT
// The reference for start-up and memory: the least a Qt Widgets program with a window of the
// main window's size does. An empty main window with a 719 x 570 central area and a menu bar;
// prints its first-paint line and ends.
//   bench-minimal [--cjk]   --cjk: the two menu titles in Chinese, so that a CJK font is loaded
#include "bench/FirstPaint.h"

#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QTextStream>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    const bool cjk = application.arguments().contains(QStringLiteral("--cjk"));
    QMainWindow window;
    auto* client = new QWidget(&window);
    client->setFixedSize(719, 570);
    window.setCentralWidget(client);
    QMenuBar* bar = window.menuBar();
    bar->addMenu(cjk ? QStringLiteral("设置(&S)") : QStringLiteral("&Settings"))
        ->addAction(QStringLiteral("&Quit"));
    bar->addMenu(cjk ? QStringLiteral("关于(&A)") : QStringLiteral("&About"))
        ->addAction(QStringLiteral("&About"));

    bench::FirstPaint probe(&window);
    QObject::connect(&probe, &bench::FirstPaint::painted, &application, [&probe] {
        QTextStream(stdout) << probe.report() << Qt::endl;
        QCoreApplication::quit();
    });
    window.show();
    return QApplication::exec();
}
