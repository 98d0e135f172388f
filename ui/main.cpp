#include "compositor.h"
#include "design.h"
#include "frmmain.h"
#include "russiantexts.h"
#include "version.h"

#include <QApplication>

int main(int argc, char *argv[])
{
#ifdef TARVEL_PLUGINS
    // Where Wayland leaves the title bars to the program, Qt's own offer minimize and maximize boxes that the
    // windows do not have; the game's has a close box only. A player's own choice comes first.
    if (qEnvironmentVariableIsEmpty("QT_WAYLAND_DECORATION"))
        qputenv("QT_WAYLAND_DECORATION", "tarvel");
#endif
    QApplication app(argc, argv);
#ifdef TARVEL_PLUGINS
    QCoreApplication::addLibraryPath(QCoreApplication::applicationDirPath() + QLatin1String("/" TARVEL_PLUGINS));
#endif
    QApplication::setApplicationVersion(QString::fromLatin1(TarvelVersion::text));
    DesignFont::mapToInstalledFonts();
    installRussianQtTexts();
    keepKeyboardOnModalBoxes();

    FrmMain window;
    window.show();
    return app.exec();
}
