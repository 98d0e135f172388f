#include "nicknames.h"

#include "random.h"

#include <QStringList>

QString Imia()
{
    static const QStringList pool {
        QStringLiteral("Sir Lancelot"),   QStringLiteral("Horsey McHorse"), QStringLiteral("Lucky Jumper"),
        QStringLiteral("Mr. Nobody"),     QStringLiteral("Knight Owl"),     QStringLiteral("Pony Express"),
        QStringLiteral("Captain Gallop"), QStringLiteral("Shy Pawn"),       QStringLiteral("Agent 007"),
        QStringLiteral("Hop-a-long"),     QStringLiteral("Lord Checkmate"), QStringLiteral("Incognito"),
        QStringLiteral("Dark Horse"),     QStringLiteral("Sleepy Rook"),    QStringLiteral("Mystery Guest"),
        QStringLiteral("Zorro"),          QStringLiteral("Happy Hooves"),   QStringLiteral("Queen's Pet"),
        QStringLiteral("L-Shape Lover"),  QStringLiteral("Anonymous Hero"),
    };
    SharedRandom::seedFromClock();
    const int k = int(SharedRandom::next() * pool.size() + 1);
    return pool.at(k - 1);
}
