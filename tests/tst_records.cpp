// The records table against the real store in a temporary folder, and real copies racing.
#include "testkit.h"

#include <sys/stat.h>

namespace {
// A stored input (a change to a table of N0 90, N1 86… N19 14: "Key =value"), the locale, what
// the program then does ("NAME|SCORE" entered, "clear", joined by " then "), a line of the hall
// it shows (a name's padding left out unless written) and places 1-3 and 20 as stored (empty: the file
// is left as it was).
struct Case
{
    QString file, locale, action, shown, stored;
};
const QStringList Scores = QString("90 86 82 78 74 70 66 62 58 54 50 46 42 38 34 30 26 22 18 14").split(' ');
const QString N0 = "1.  N0|90.0%", Default = "1.  Quib|20.0%";

// Another running copy of the game entering "NAME SCORE" on the store under `configHome`;
// with `hold`, it stops between its read and its write until that file exists.
bool startCopy(QProcess &copy, const QString &entry, const QString &hold, const QString &configHome = {})
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    if (!configHome.isEmpty())
        environment.insert("XDG_CONFIG_HOME", configHome);
    environment.insert("TARVEL_HOLD_AFTER_READ", hold);
    copy.setProcessEnvironment(environment);
    copy.start(QCoreApplication::applicationFilePath(), QStringList { "copy" } + entry.split(' '));
    return hold.isEmpty() || QTest::qWaitFor([&] { return QFile::exists(hold + ".reached"); }, 10000);
}

QStringList filesIn(const QString &dir)
{
    return QDir(dir).entryList(QDir::Files | QDir::Hidden | QDir::System);
}
}
Q_DECLARE_METATYPE(Case)

class TestRecords : public QObject
{
    Q_OBJECT

private slots:
    void init() { QLocale::setDefault(QLocale::c()); }

    void table_data()
    {
        QTest::addColumn<Case>("c");
        QTest::newRow("a valid table") << Case { "", "C", "", N0, "" };
        for (const char *bad : { "", "abc", "nan", "inf", "1e39", "1,234.5", "1e30", "-1", "101" })
            QTest::addRow("score '%s'", bad)
                << Case { QString("Data 7 =") + bad, "C", "", Default, "Quib 20|Quib 19|Quib 18|Quib 1" };
        QTest::newRow("breaks and a tag in a name")
            << Case { "User 0 =A\\nB\\tC\U000E0041D", "C", "", "1.  A B C D             |90.0%", "" };
        QTest::newRow("point under German") << Case { "Data 0 =90.5", "de_DE", "", "1.  N0|90,5%", "" };
        QTest::newRow("Arabic digits under C") << Case { "Data 0 =٩٠٫٥", "C", "", "1.  N0|90.5%", "" };
        QTest::newRow("above all") << Case { "", "C", "Ann|100", "1.  Ann|100.0%", "Ann 100|N0 90|N1 86|N18 18" };
        QTest::newRow("after the equal ones")
            << Case { "Data 2 =86", "C", "New|86", "4.  New|86.0%", "N0 90|N1 86|N2 86|N18 18" };
        QTest::newRow("equal to the last") << Case { "", "C", "New|14", N0, "" };
        QTest::newRow("on an unreadable table")
            << Case { "Data 7 =abc", "C", "New|19.5", "2.  New|19.5%", "Quib 20|New 19.5|Quib 19|Quib 2" };
        QTest::newRow("after a clearing")
            << Case { "", "C", "clear then New|1.5625", "1.  New|1.6%", "New 1.5625| 0| 0| 0" };
        QTest::newRow("Cyrillic, comma locale")
            << Case { "", "ru_RU", "Вася|96.875", "1.  Вася|96,9%", "Вася 96,875|N0 90|N1 86|N18 18" };
        QTest::newRow("cut at 20, an emoji whole")
            << Case { "", "C", "abcdefghijklmnopqrs\U0001F40Ex|95", "1.  abcdefghijklmnopqrs\U0001F40E|95.0%",
                      "abcdefghijklmnopqrs\U0001F40E 95|N0 90|N1 86|N18 18" };
        QTest::newRow("an emoji padded as one")
            << Case { "", "C", "\U0001F40E|95", "1.  \U0001F40E                   |95.0%",
                      "\U0001F40E 95|N0 90|N1 86|N18 18" };
        QTest::newRow("Bengali digits") << Case { "", "bn_BD", "Ann|95.5", "1.  Ann|৯৫.৫%",
                                                  "Ann ৯৫.৫|N0 ৯০|N1 ৮৬|N18 ১৮" };
    }

    void table()
    {
        QFETCH(Case, c);
        const QByteArray text = "[General]\nother=kept\n"
            + Store::tableText(Scores, { { c.file.section('=', 0, 0), c.file.section('=', 1) } });
        Store store(text);
        QLocale::setDefault(QLocale(c.locale));
        RecordingDisplay display;
        RecordsTable table(display);
        for (const QString &step : c.action.split(" then ", Qt::SkipEmptyParts))
            step == "clear" ? void(table.clearAll())
                            : void(table.enterRecord(step.section('|', 0, 0), step.section('|', 1).toFloat()));
        table.LoadAndShowRecords();
        QString line = display.lines[c.shown.section('.', 0, 0).toInt()];
        QCOMPARE(c.shown.contains("  |") ? line : line.remove(QRegularExpression(" +(?=\\|)")), c.shown);
        QCOMPARE(c.stored.isEmpty() ? store.bytes() : (store.stored(1, 3) + "|" + store.stored(20, 20)).toUtf8(),
                 c.stored.isEmpty() ? text : c.stored.toUtf8());
        QVERIFY(display.failedSaves == 0 && store.bytes().contains("other=kept"));
        QLocale::setDefault(QLocale::c()); // and is read back exactly under another locale
        const float first = table.RecordScores[0];
        table.LoadAndShowRecords();
        QCOMPARE(table.RecordScores[0], first);
    }

    // What is found where the table should be or beside it, and what entering 88 % then stores as places 1-3 (empty:
    // the save failed, and said so).
    void situations_data()
    {
        QTest::addColumn<QString>("situation");
        QTest::addColumn<QString>("names");
        const QString saved = "N0 90|New 88|N1 86";
        QTest::newRow("a FIFO") << "fifo"
                                << "";
        QTest::newRow("a symlink to a FIFO") << "link fifo"
                                             << "";
        QTest::newRow("a symlink to a table") << "link table" << saved;
        QTest::newRow("a live copy holding the lock") << "locked"
                                                      << "";
        QTest::newRow("a crash's empty lock and files, a stray line, the player's files") << "crash" << saved;
        QTest::newRow("a lock left on another host") << "lock" << saved;
        QTest::newRow("TMPDIR a FIFO") << "tmp" << saved;
        QTest::newRow("a FIFO as the organisation's file") << "organisation" << saved;
        QTest::newRow("a same-size rewrite in one clock tick") << "clock"
                                                               << "N0 90|New 88|B1 86";
    }

    void situations()
    {
        QFETCH(QString, situation);
        QFETCH(QString, names);
        Store store((situation == "crash" ? "stray\n" : "") + Store::tableText(Scores));
        const QString dir = store.dir.path(), target = dir + "/target", folder = dir + "/Tarvel/";
        QStringList kept { "tst_records.conf" }, made;
        if (situation.startsWith("fifo") || situation.startsWith("link"))
            QVERIFY(QFile::rename(store.path(), target + (situation == "link table" ? "" : ".old")));
        const QString fifo = situation == "fifo" ? store.path()
            : situation == "organisation"        ? dir + "/Tarvel.conf"
                                                 : target;
        if (QStringList({ "fifo", "link fifo", "tmp", "organisation" }).contains(situation))
            QVERIFY(mkfifo(qPrintable(fifo), 0600) == 0);
        QVERIFY(!situation.startsWith("link") || QFile::link(target, store.path()));
        if (situation == "tmp")
            qputenv("TMPDIR", target.toLocal8Bit());
        QProcess holder;
        QVERIFY(situation != "locked" || startCopy(holder, "Held 99", dir + "/never"));
        if (situation == "crash")
            kept << "tst_records.conf.backup"
                 << "tst_records.conf.ABCDEF"
                 << "tst_records.conf~",
                made << "tst_records.records.lock"
                     << ".tst_records.conf.saving-AbC123"
                     << ".tst_records.conf.saving-AbC123.lock";
        for (const QString &name : kept.mid(1) + made)
            QVERIFY(QFile(folder + name).open(QIODevice::WriteOnly));
        QFile lock(RecordStore::lockPath()); // left by a copy on another host, which holds it no longer
        QVERIFY(situation != "lock"
                || (lock.open(QIODevice::WriteOnly) && lock.write("12345\ntst_records\nelsewhere\n") > 0));
        lock.close();
        RecordingDisplay display;
        RecordsTable table(display);
        table.LoadAndShowRecords(); // a FIFO must not block this
        QCOMPARE(display.lines[1].startsWith("1.  Quib"), situation == "fifo" || situation == "link fifo");
        if (situation == "clock") { // looked at, then another copy rewrites the file and its time stays the same
            QCOMPARE(table.enterRecord("Low", 1), RecordsTable::Entry::NoPlace);
            const QDateTime time = QFileInfo(store.path()).lastModified();
            store.write(Store::tableText(Scores, { { "User 1 ", "B1" } }));
            QFile file(store.path());
            QVERIFY(file.open(QIODevice::ReadWrite) && file.setFileTime(time, QFileDevice::FileModificationTime));
        }
        QCOMPARE(table.enterRecord("New", 88) == RecordsTable::Entry::Saved, !names.isEmpty());
        qunsetenv("TMPDIR");
        holder.kill();
        holder.waitForFinished();
        QCOMPARE(display.failedSaves, names.isEmpty() ? 1 + situation.endsWith("fifo") : 0);
        QCOMPARE(store.stored(1, 3), names.isEmpty() ? (situation == "locked" ? "N0 90|N1 86|N2 82" : " | | ") : names);
        kept.sort();
        QVERIFY(names.isEmpty() || filesIn(folder) == kept); // only the store is left, and the player's own files
    }

    // Two real copies entering Ann 90 and Bob 80, the first held between its read and its write.
    void copiesRacing_data()
    {
        QTest::addColumn<QString>(
            "second"); // "link": its store is a link to the first's; "none": the first is killed there, then Bob enters
        QTest::newRow("two records") << "";
        QTest::newRow("two records, one store through a link") << "link";
        QTest::newRow("a copy killed while saving") << "none";
    }

    void copiesRacing()
    {
        QFETCH(QString, second);
        Store store;
        const QString dir = store.dir.path(), hold = dir + "/go";
        QVERIFY(QDir().mkpath(dir + "/tmp") && QDir().mkpath(dir + "/other/Tarvel")
                && QFile::link(store.path(), dir + "/other/Tarvel/tst_records.conf"));
        qputenv("TMPDIR", (dir + "/tmp").toLocal8Bit());
        QProcess a, b;
        QVERIFY(startCopy(a, "Ann 90", hold));
        if (second == "none") {
            a.kill();
            RecordingDisplay display;
            QVERIFY(a.waitForFinished() && RecordsTable(display).enterRecord("Bob", 80) == RecordsTable::Entry::Saved);
        } else {
            QVERIFY(startCopy(b, "Bob 80", {}, second == "link" ? dir + "/other" : dir));
            b.waitForFinished(1000); // finishes now only if it does not wait for the lock
            QVERIFY(QFile(hold).open(QIODevice::WriteOnly) && a.waitForFinished() && b.waitForFinished()
                    && a.exitCode() + b.exitCode() == 0);
        }
        qunsetenv("TMPDIR");
        QCOMPARE(store.stored(1, 3), second == "none" ? "Bob 80|Quib 20|Quib 19" : "Ann 90|Bob 80|Quib 20");
        QCOMPARE(filesIn(dir + "/tmp") + filesIn(dir + "/Tarvel"),
                 QStringList { "tst_records.conf" }); // nothing left behind
    }
};

// "tst_records copy NAME SCORE" is another running copy of the game, entering a result.
int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    RecordingDisplay display;
    if (app.arguments().value(1) == "copy")
        return RecordsTable(display).enterRecord(app.arguments()[2], app.arguments()[3].toFloat())
            == RecordsTable::Entry::Failed;
    TestRecords suite;
    return QTest::qExec(&suite, argc, argv);
}
#include "tst_records.moc"
