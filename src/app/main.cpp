#include "app/mainwindow.h"
#include "cli/command_line.h"
#include "imagery/gdal_setup.h"
#include "text/version.h"
#include "widgets/desktop.h"
#include "widgets/program_title.h"

#include <QApplication>
#include <QStyleFactory>

namespace {
ProgramLayout programLayout()
{
#ifdef MARLITH_INSTALLED
    return ProgramLayout::Installed;
#elif defined(Q_OS_WIN)
    // One program for the zip and the installer, which leaves a marker beside it.
    return windowsProgramLayout();
#else
    return ProgramLayout::Portable;
#endif
}
} // namespace

int main(int argc, char *argv[])
{
    // Once, on this thread, before any cut or import opens a dataset on another.
    setUpGdal();
    const ProgramLayout layout = programLayout();
    // A command runs without a window, and without a display to show one.
    if (const std::optional<int> exitCode = runCommandLine(argc, argv, layout))
        return *exitCode;

    QApplication app(argc, argv);
    // The settings (the dialogs' folders) live under the organisation and program names.
    QApplication::setOrganizationName(QStringLiteral("Marlith"));
    QApplication::setApplicationName(programTitle());
    QApplication::setApplicationVersion(programVersion());
    // Lets the desktop match the window to the installed launcher and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("io.marlith.Marlith3"));
    // Fusion honours the window's colour coding on every platform.
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));

    QtDesktop desktop(layout);
    MainWindow window(desktop);
    window.show();
    // Qt's arguments, not argv: on Windows those are the ANSI code page's, which loses the
    // letters of many a user's name in a path.
    if (const QStringList arguments = QApplication::arguments(); arguments.size() == 2)
        window.openWorkOrSource(arguments.at(1));
    return app.exec();
}
