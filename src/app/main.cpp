#include "shell/frmhome.h"
#include "shell/frmloging.h"
#include "shell/screens.h"
#include "ui/legacyfont.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Parcelon"));
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
