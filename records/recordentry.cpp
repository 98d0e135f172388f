#include "recordentry.h"

#include "boxes.h"
#include "nicknames.h"
#include "recordstable.h"
#include "recordtext.h"
#include "scoretext.h"

namespace {
const QString GameOverText = QStringLiteral("Игра окончена");
const QString NamePrompt = QStringLiteral("Ваш результат попал в таблицу рекордов!\rВведите свое имя:");
const QString NicknameOffer = QStringLiteral("Если вы не говорите свое имя,\rя буду называть вас ");
const QString NoLongerPlacedText = QStringLiteral("Результат больше не попадает в таблицу рекордов.");
}

void enterFinishedGame(QWidget *window, RecordsTable &records, float result)
{
    // The result is on screen in the fill box; a screen reader hears it with the box.
    const QString heard = QStringLiteral("Результат: ") + scoreText(result);
    Boxes::inform(window, GameOverText, QMessageBox::NoIcon, heard);

    // Another running copy may have changed the table meanwhile: the store decides, and the halls show it.
    records.LoadAndShowRecords();
    if (records.findPlace(result) < 0)
        return;

    const QString name = askRecordName(window, heard);
    // Another copy may have filled the table while the player was typing.
    if (records.enterRecord(name, result) == RecordsTable::Entry::NoPlace)
        Boxes::inform(window, NoLongerPlacedText, QMessageBox::Information);
    records.LoadAndShowRecords();
}

QString askRecordName(QWidget *window, const QString &heard)
{
    for (;;) {
        QString name = fixedWidth(printableName(Boxes::askText(window, NamePrompt, heard)));
        if (!isBlankName(name))
            return name;
        name = fixedWidth(Imia());
        if (Boxes::confirm(window, NicknameOffer + name, QMessageBox::Information))
            return name;
    }
}
