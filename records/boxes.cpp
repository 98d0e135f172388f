#include "boxes.h"

#include <QInputDialog>
#include <QPushButton>

namespace {
const QString OkText = QStringLiteral("ОК");
const QString CancelText = QStringLiteral("Отмена");

bool runBox(QWidget *window, const QString &text, QMessageBox::Icon icon, bool withCancel, const QString &heard = {})
{
    QMessageBox box(icon, window->window()->windowTitle(), Boxes::forDisplay(text), QMessageBox::NoButton, window);
    // A screen reader may say a box's name and description and skip its labels: the name is the text.
    box.setAccessibleName(Boxes::spoken(text));
    box.setAccessibleDescription(heard);
    box.setTextFormat(Qt::PlainText);
    QPushButton *ok = box.addButton(OkText, QMessageBox::AcceptRole);
    QPushButton *answer = ok;
    if (withCancel)
        answer = box.addButton(CancelText, QMessageBox::RejectRole);
    // Esc and the close box give the safe answer.
    box.setDefaultButton(answer);
    box.setEscapeButton(answer);
    box.exec();
    return box.clickedButton() == ok;
}
}

QString Boxes::forDisplay(QString text)
{
    return text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
}

QString Boxes::spoken(QString text)
{
    return text.replace(QLatin1Char('\r'), QLatin1Char(' '));
}

void Boxes::inform(QWidget *window, const QString &text, QMessageBox::Icon icon, const QString &heard)
{
    runBox(window, text, icon, false, heard);
}

bool Boxes::confirm(QWidget *window, const QString &text, QMessageBox::Icon icon)
{
    return runBox(window, text, icon, true);
}

QString Boxes::askText(QWidget *window, const QString &prompt, const QString &heard)
{
    QInputDialog dialog(window);
    dialog.setAccessibleName(spoken(prompt));
    dialog.setAccessibleDescription(heard);
    dialog.setInputMode(QInputDialog::TextInput);
    dialog.setWindowTitle(window->window()->windowTitle());
    dialog.setLabelText(forDisplay(prompt));
    dialog.setTextValue(QString());
    dialog.setOkButtonText(OkText);
    dialog.setCancelButtonText(CancelText);
    return dialog.exec() == QDialog::Accepted ? dialog.textValue() : QString();
}
