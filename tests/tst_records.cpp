// The records table against the real store in a temporary folder, and real copies racing.
#include "testkit.h"

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
const QString N0 = "1.  N0|90.0%", Shifted = "|N0 90|N1 86|N18 18", Cut = "abcdefghijklmnopqrs\U0001F40E";

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
    void table_data()
    {
        QTest::addColumn<Case>("c");
        QTest::newRow("a valid table") << Case { "", "C", "", N0, "" };
        for (const char *bad : { "", "abc", "nan", "inf", "1e39", "1,234.5", "1e30", "-1", "101" })
            QTest::addRow("score '%s'", bad)
                << Case { QString("Data 7 =") + bad, "C", "", "1.  Quib|20.0%", "Quib 20|Quib 19|Quib 18|Quib 1" };
        QTest::newRow("breaks and a tag in a name")
            << Case { "User 0 =A\\nB\\tC\U000E0041D", "C", "", "1.  A B C D             |90.0%", "" };
        QTest::newRow("point under German") << Case { "Data 0 =90.5", "de_DE", "", "1.  N0|90,5%", "" };
        QTest::newRow("Arabic digits under C") << Case { "Data 0 =٩٠٫٥", "C", "", "1.  N0|90.5%", "" };
        QTest::newRow("above all") << Case { "", "C", "Ann|100", "1.  Ann|100.0%", "Ann 100" + Shifted };
        QTest::newRow("after the equal ones")
            << Case { "Data 2 =86", "C", "New|86", "4.  New|86.0%", "N0 90|N1 86|N2 86|N18 18" };
        QTest::newRow("equal to the last") << Case { "", "C", "New|14", N0, "" };
        QTest::newRow("on an unreadable table")
            << Case { "Data 7 =abc", "C", "New|19.5", "2.  New|19.5%", "Quib 20|New 19.5|Quib 19|Quib 2" };
        QTest::newRow("after a clearing")
            << Case { "", "C", "clear then New|1.5625", "1.  New|1.6%", "New 1.5625| 0| 0| 0" };
        QTest::newRow("Cyrillic, comma locale")
            << Case { "", "ru_RU", "Вася|96.875", "1.  Вася|96,9%", "Вася 96,875" + Shifted };
        QTest::newRow("cut at 20, an emoji whole")
            << Case { "", "C", Cut + "x|95", "1.  " + Cut + "|95.0%", Cut + " 95" + Shifted };
        QTest::newRow("an emoji padded as one")
            << Case { "", "C", "\U0001F40E|95", "1.  \U0001F40E                   |95.0%", "\U0001F40E 95" + Shifted };
    }

    void table()
    {
        QFETCH(Case, c);
        const QByteArray text = "[General]\nother=kept\n" + Store::tableText(Scores, c.file);
        Store store(text);
        QLocale::setDefault(QLocale(c.locale));
        RecordingDisplay display;
        RecordsTable table(display);
        for (const QString &step : c.action.split(" then ", Qt::SkipEmptyParts))
            step == "clear" ? void(table.clearAll())
                            : void(table.enterRecord(step.section('|', 0, 0), step.section('|', 1).toFloat()));
        table.LoadAndShowRecords();
        const int place = c.shown.section('.', 0, 0).toInt() - 1;
        QString line = display.names[place] + '|' + display.points[place];
        QCOMPARE(c.shown.contains("  |") ? line : line.remove(QRegularExpression(" +(?=\\|)")), c.shown);
        QCOMPARE(c.stored.isEmpty() ? store.bytes() : (store.stored(1, 3) + "|" + store.stored(20, 20)).toUtf8(),
                 c.stored.isEmpty() ? text : c.stored.toUtf8());
        QVERIFY(display.failedSaves == 0 && store.bytes().contains("other=kept"));
        // and is read back exactly under another locale
        QLocale::setDefault(QLocale::c());
        const float first = table.RecordScores[0];
        table.LoadAndShowRecords();
        QCOMPARE(table.RecordScores[0], first);
    }

    // What lies where the table should be or beside it (a shell script run in the folder that holds Tarvel/,
    // $S the store; what follows "then" runs once the table has been looked at), and another copy saving, then
    // killed, or resumed while this copy waits for the lock. After this copy enters 88 %: the failures reported, places
    // 1-3 as stored, and where given the files left in the folder TMPDIR names (t) and in Tarvel/.
    void situations_data()
    {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<QString>("after");
        const QString saved = "0 N0 90|New 88|N1 86 tst_records.conf";
        QTest::newRow("a FIFO") << "rm $S && mkfifo $S"
                                << "1  | | ";
        QTest::newRow("a symlink to a FIFO") << "rm $S && mkfifo t && ln -s ../t $S"
                                             << "1  | | ";
        QTest::newRow("a symlink to a table") << "mv $S t && ln -s ../t $S" << saved;
        // and this copy enters again once it is killed
        QTest::newRow("a live copy saving, then killed") << ": copy killed"
                                                         << "1 N0 90|New 88|N1 86 tst_records.conf";
        QTest::newRow("a copy saving a new table meanwhile") << "rm $S && mkdir t; : copy resumed"
                                                             << "0 Ann 90|New 88|Quib 20 tst_records.conf";
        QTest::newRow("a crash's leftovers, a stray line, the player's files")
            << "sed -i 1istray $S && cd Tarvel && touch tst_records.conf.backup tst_records.conf.ABCDEF "
               "tst_records.conf~ tst_records.records.lock .tst_records.conf.saving-AbC123 "
               ".tst_records.conf.saving-AbC123.lock"
            << saved + " tst_records.conf.ABCDEF tst_records.conf.backup tst_records.conf~";
        QTest::newRow("another host's lock, held by nobody")
            << "printf '12345\\ntst_records\\nelsewhere\\n' >Tarvel/tst_records.records.lock" << saved;
        QTest::newRow("a FIFO as the organisation's file") << "mkfifo Tarvel.conf" << saved;
        QTest::newRow("a same-size rewrite, the same time")
            << "then cp -p $S t && sed -i s/=N1$/=B1/ $S && touch -r t $S"
            << "0 N0 90|New 88|B1 86 tst_records.conf";
    }

    void situations()
    {
        QFETCH(QString, setup);
        QFETCH(QString, after);
        Store store(Store::tableText(Scores));
        const QString dir = store.dir.path();
        // in the folder that holds Tarvel/, and other/ whose store is a link to this one
        const QString prefix
            = "cd " + dir + " && S=Tarvel/tst_records.conf && mkdir -p other/Tarvel && ln -sf ../../$S other/$S; ";
        const auto run
            = [&](const QString &script) { QCOMPARE(QProcess::execute("sh", { "-c", prefix + script }), 0); };
        run(setup.section("then ", 0, 0));
        // another copy, through other/, entering Ann 90; it stops itself between its read and its write
        QProcess copy;
        if (setup.contains("copy")) {
            copy.start("env",
                       { "XDG_CONFIG_HOME=" + dir + "/other", "TARVEL_STOP_AFTER_READ=1",
                         QCoreApplication::applicationFilePath(), "copy" });
            QVERIFY(QTest::qWaitFor([&] {
                QFile stat(QString("/proc/%1/stat").arg(copy.processId()));
                return stat.open(QIODevice::ReadOnly) && stat.readAll().contains(") T ");
            }));
        }
        // nothing of the store may need TMPDIR: here it is missing, a FIFO, a file or an empty folder
        qputenv("TMPDIR", (dir + "/t").toLocal8Bit());
        RecordingDisplay display;
        RecordsTable table(display);
        if (setup.startsWith("then ")) {
            table.LoadAndShowRecords();
            run(setup.mid(5));
            // and read afresh
            table.LoadAndShowRecords();
            QCOMPARE(table.RecordNames[1].trimmed(), "B1");
        }
        // resumed while this copy waits for the lock
        if (setup.endsWith("resumed"))
            QProcess::startDetached("sh", { "-c", QString("sleep 0.2; kill -CONT %1").arg(copy.processId()) });
        table.enterRecord("New", 88);
        if (setup.endsWith("killed")) {
            copy.kill();
            QVERIFY(copy.waitForFinished() && table.enterRecord("New", 88) == RecordsTable::Entry::Saved);
        }
        copy.waitForFinished();
        qunsetenv("TMPDIR");
        const QStringList files = filesIn(dir + "/t") + filesIn(dir + "/Tarvel");
        QCOMPARE(QString::number(display.failedSaves) + ' ' + store.stored(1, 3)
                     + (after.contains(".conf") ? ' ' + files.join(' ') : ""),
                 after);
    }
};

// "tst_records copy" is another running copy of the game, entering Ann 90.
int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    RecordingDisplay display;
    if (app.arguments().value(1) == "copy")
        return RecordsTable(display).enterRecord("Ann", 90) == RecordsTable::Entry::Failed;
    TestRecords suite;
    return QTest::qExec(&suite, argc, argv);
}
#include "tst_records.moc"
