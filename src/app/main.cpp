#include "buildconfig.h"
#include "shell/frmhome.h"
#include "shell/frmloging.h"
#include "shell/screens.h"
#include "ui/legacyfont.h"

#include <QApplication>
#include <QByteArray>

#include <cstdio>

namespace {

const char kUsage[] = "Usage: parcelon [Qt options]\n"
                      "Parcelon, the land register of a divisional land office.\n"
                      "\n"
                      "Options:\n"
                      "  -h, --help     Displays this help.\n"
                      "  -v, --version  Displays version information.\n"
                      "\n"
                      "The register is reached through the ODBC data source land, read from the file ODBCINI\n"
                      "names (else ~/.odbc.ini) and /etc/odbc.ini. Create one with `make run` in Parcelon's\n"
                      "source folder, or with `parcelon-setup --sqlite FILE` (see parcelon-setup --help).\n"
                      "A forgotten password: `parcelon-setup --set-password Chief`.\n";

// Answered before any window exists, so they work on a terminal without a display.
bool answeredFromCommandLine(int argc, char *argv[])
{
    for (int i = 1; i < argc; ++i) {
        const QByteArray arg(argv[i]);
        if (arg == "-h" || arg == "--help" || arg == "-?" || arg == "--help-all") {
            std::fputs(kUsage, stdout);
            return true;
        }
        if (arg == "-v" || arg == "--version") {
            std::fputs("parcelon " PARCELON_VERSION "\n", stdout);
            return true;
        }
    }
    return false;
}

// Qt aborts when it finds no display. Without DISPLAY, WAYLAND_DISPLAY, QT_QPA_PLATFORM or -platform
// there is none to find: say so and end.
bool hasDisplay(int argc, char *argv[])
{
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        if (!qEnvironmentVariableIsEmpty(name))
            return true;
    }
    for (int i = 1; i < argc; ++i) {
        const QByteArray arg(argv[i]);
        if (arg == "-platform" || arg == "--platform" || arg.startsWith("-platform=") || arg.startsWith("--platform="))
            return true;
    }
    return false;
}

} // namespace

int main(int argc, char *argv[])
{
    if (answeredFromCommandLine(argc, argv))
        return 0;
    if (!hasDisplay(argc, argv)) {
        std::fputs("parcelon: no display found (DISPLAY and WAYLAND_DISPLAY are not set).\n"
                   "Parcelon is a desktop application: start it from the workstation's desktop session.\n",
            stderr);
        return 1;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Parcelon"));
    QApplication::setApplicationVersion(QStringLiteral(PARCELON_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral("parcelon"));
    parcelon::loadBundledParasFont();
    parcelon::registerScreens();

    parcelon::frmloging login;
    if (!login.Form_Load())
        return 1;
    login.exec();
    if (!parcelon::frmhome::current())
        return 0;
    return app.exec();
}
