#include "accessibleroles.h"

#include <QAccessibleWidget>
#include <QWidget>

namespace {
const char LeftOut[] = "tarvelLeftOutOfAccessibility";

// A container whose accessible children are its child widgets, less those left out.
class ContainerAccessible : public QAccessibleWidget
{
public:
    using QAccessibleWidget::QAccessibleWidget;

    int childCount() const override { return int(shownChildren().size()); }
    QAccessibleInterface *child(int index) const override
    {
        const QList<QWidget *> children = shownChildren();
        return index >= 0 && index < children.size() ? QAccessible::queryAccessibleInterface(children[index]) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        return int(shownChildren().indexOf(qobject_cast<QWidget *>(child ? child->object() : nullptr)));
    }

private:
    QList<QWidget *> shownChildren() const
    {
        QList<QWidget *> shown;
        for (QWidget *child : widget()->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
            if (!child->isWindow() && !child->property(LeftOut).toBool())
                shown.append(child);
        }
        return shown;
    }
};

QAccessibleInterface *factory(const QString &className, QObject *object)
{
    auto *widget = qobject_cast<QWidget *>(object);
    if (!widget)
        return nullptr;
    if (className == QLatin1String("FrmMain"))
        return new ContainerAccessible(widget, QAccessible::Window);
    if (className == QLatin1String("QGroupBox"))
        return new ContainerAccessible(widget, QAccessible::Grouping);
    return nullptr;
}
}

void AccessibleRoles::install()
{
    static const bool installed = (QAccessible::installFactory(factory), true);
    Q_UNUSED(installed);
}

void AccessibleRoles::leaveOut(QWidget *label)
{
    label->setProperty(LeftOut, true);
}
