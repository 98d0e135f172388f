// Offers the game's title bar to Qt's Wayland platform under the name "tarvel".
#include "titlebar.h"

#include <QtWaylandClient/private/qwaylanddecorationplugin_p.h>

class TitleBarPlugin : public QtWaylandClient::QWaylandDecorationPlugin
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QWaylandDecorationFactoryInterface_iid FILE "titlebar.json")
public:
    QtWaylandClient::QWaylandAbstractDecoration *create(const QString &, const QStringList &) override
    {
        return new TitleBar;
    }
};

#include "titlebarplugin.moc"
