#pragma once

#include <QMessageBox>
#include <QString>

// Modal boxes in Russian whatever the system language. Their title is the
// caption of the window they belong to, read when they are shown. Texts
// break lines with lone carriage returns.
namespace Boxes {
QString forDisplay(QString text);
// The text as one line, for a screen reader.
QString spoken(QString text);

// `heard` is what a screen reader says of the box beyond its text.
void inform(QWidget *window, const QString &text, QMessageBox::Icon icon = QMessageBox::NoIcon,
            const QString &heard = QString());
// OK and Cancel with Cancel as the default; true when the player chose OK.
bool confirm(QWidget *window, const QString &text, QMessageBox::Icon icon);
// The typed text, or the empty text when the player cancels.
QString askText(QWidget *window, const QString &prompt, const QString &heard = QString());
}
