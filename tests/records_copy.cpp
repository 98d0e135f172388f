// Another running copy of the game, as far as the records go:
//   records_copy enter NAME SCORE   or   records_copy clear
// Exits with 1 when the table could not be saved.
#include "recordstable.h"

#include <QCoreApplication>

namespace {
class NoDisplay : public RecordsDisplay
{
    void showRecords(const QString &, const QString &, const QString &) override {}
    void saveFailed() override {}
};
}

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    NoDisplay display;
    RecordsTable table(display);
    if (args.value(1) == QStringLiteral("clear"))
        return table.clearAll() ? 0 : 1;
    return table.enterRecord(args.value(2), args.value(3).toFloat()) == RecordsTable::Entry::Failed ? 1 : 0;
}
