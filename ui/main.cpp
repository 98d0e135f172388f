#include "compositor.h"
#include "design.h"
#include "frmmain.h"
#include "russiantexts.h"
#include "version.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationVersion(QString::fromLatin1(TarvelVersion::text));
    DesignFont::mapToInstalledFonts();
    installRussianQtTexts();
    keepKeyboardOnModalBoxes();

    FrmMain window;
    window.show();
    return app.exec();
}
