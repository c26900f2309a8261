#include "app/desktop.h"
#include "app/mainwindow.h"
#include "app/program_title.h"

#include <QApplication>
#include <QStyleFactory>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(programTitle());
    QApplication::setApplicationVersion(QStringLiteral("3"));
    // Lets the desktop match the window to the installed launcher and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("io.marlith.Marlith3"));
    // Fusion honours the window's colour coding on every platform.
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));

#ifdef MARLITH_INSTALLED
    QtDesktop desktop(ProgramLayout::Installed);
#else
    QtDesktop desktop(ProgramLayout::Portable);
#endif
    MainWindow window(desktop);
    window.show();
    return app.exec();
}
