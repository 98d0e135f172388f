// The records table against the real store in a temporary folder, and real copies racing.
#include "testkit.h"

#include <unistd.h>

namespace {
// A stored input (a change to a table of N0 90, N1 86… N19 14: "Key =value"), the locale, what
// the program then enters ("NAME|SCORE"), a line of the hall
// it shows (a name's padding left out unless written) and places 1-3 and 20 as stored (empty: the file
// is left as it was).
struct Case
{
    QString file, locale, action, shown, stored;
};
// A store situation: the columns of situations_data().
struct Situation
{
    QString setup, after, meanwhile {}, next {}, probe {};
};
const QStringList Scores = QString("90 86 82 78 74 70 66 62 58 54 50 46 42 38 34 30 26 22 18 14").split(' ');
const QString N0 = "1.  N0|90.0%", Shifted = "|N0 90|N1 86|N18 18", Cut = "abcdefghijklmnopqrs\U0001F40E";

QStringList filesIn(const QString &dir)
{
    return QDir(dir).entryList(QDir::Files | QDir::Hidden | QDir::System);
}
}
Q_DECLARE_METATYPE(Case)
Q_DECLARE_METATYPE(Situation)

class TestRecords : public QObject
{
    Q_OBJECT

private slots:
    void table_data()
    {
        QTest::addColumn<Case>("c");
        for (const char *bad : { "", "abc", "nan", "inf", "1e39", "1,234.5", "1e30", "-1", "101" })
            QTest::addRow("score '%s'", bad)
                << Case { QString("Data 7 =") + bad, "C", "", "1.  Quib|20.0%", "Quib 20|Quib 19|Quib 18|Quib 1" };
        QTest::newRow("breaks and a tag in a name")
            << Case { "User 0 =A\\nB\\tC\U000E0041D", "C", "", "1.  A B C D             |90.0%", "" };
        QTest::newRow("point under German") << Case { "Data 0 =90.5", "de_DE", "", "1.  N0|90,5%", "" };
        QTest::newRow("Arabic digits under C") << Case { "Data 0 =٩٠٫٥", "C", "", "1.  N0|90.5%", "" };
        QTest::newRow("after the equal ones")
            << Case { "Data 2 =86", "C", "New|86", "4.  New|86.0%", "N0 90|N1 86|N2 86|N18 18" };
        QTest::newRow("equal to the last") << Case { "", "C", "New|14", N0, "" };
        QTest::newRow("place 20") << Case { "", "C", "New|15", N0, "N0 90|N1 86|N2 82|New 15" };
        QTest::newRow("on an unreadable table")
            << Case { "Data 7 =abc", "C", "New|19.5", "2.  New|19.5%", "Quib 20|New 19.5|Quib 19|Quib 2" };
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
        // as the window does at its start
        table.LoadAndShowRecords();
        if (!c.action.isEmpty())
            table.enterRecord(c.action.section('|', 0, 0), c.action.section('|', 1).toFloat());
        table.LoadAndShowRecords();
        const int place = c.shown.section('.', 0, 0).toInt() - 1;
        QString line = display.names[place] + '|' + display.points[place];
        QCOMPARE(c.shown.contains("  |") ? line : line.remove(QRegularExpression(" +(?=\\|)")), c.shown);
        QCOMPARE(c.stored.isEmpty() ? store.bytes() : (store.stored(1, 3) + "|" + store.stored(20, 20)).toUtf8(),
                 c.stored.isEmpty() ? text : c.stored.toUtf8());
        QVERIFY(display.failedSaves == 0 && store.bytes().contains("other=kept"));
    }

    // What lies where the table should be or beside it (a shell script run in the folder that holds Tarvel/, $S
    // the store, $L its lock; what follows "then" runs once the table has been looked at), other copies (`start
    // NAME:SCORE STEP` starts one that stops itself at that step of its save, `go NAME` resumes it), what runs
    // while this copy enters 88 % ("meanwhile"), and a step after which it enters again. Then: the failures
    // reported, places 1-3 as stored, the files in the folder TMPDIR names (t) and in Tarvel/, and a probe's output.
    void situations_data()
    {
        QTest::addColumn<Situation>("s");
        const QString saved = "0 N0 90|New 88|N1 86 tst_records.conf", unsaved = "1 N0 90|N1 86|N2 82 tst_records.conf";
        const auto row = [](const char *name, const Situation &s) { QTest::newRow(name) << s; };
        row("a symlink to a FIFO", { "rm $S && mkfifo t && ln -s ../t $S", "1  | |" });
        row("a live copy saving, then killed",
            { "start Ann:90 read", "1 N0 90|New 88|N1 86 tst_records.conf", "", "kill -9 $(cat Ann)" });
        row("a copy saving a new table meanwhile",
            { "rm $S && mkdir t && start Ann:90 read", "0 Ann 90|New 88|Quib 20 tst_records.conf",
              "sleep .2; go Ann" });
        row("two copies taking over a dead lock",
            { "echo 1 >$L && start Ann:90 takeover && start Bob:89 read && go Ann",
              "0 N0 90|Ann 90|Bob 89 tst_records.conf", "sleep .3; go Bob" });
        row("leftovers, a stray line, the player's files, a mode of theirs",
            { "chmod 604 $S && sed -i 1istray $S && cd Tarvel && touch tst_records.conf.backup tst_records.conf.ABCDEF "
              "tst_records.conf~ tst_records.records.lock .tst_records.conf.saving-AbC123 "
              ".tst_records.conf.saving-AbC123.lock",
              saved + " tst_records.conf.ABCDEF tst_records.conf.backup tst_records.conf~ 604", "", "",
              "stat -c%a $S" });
        row("a dead lock of another account",
            { "echo 1 >$L && chown -R nobody . && chown root $L && nobody Ann:90",
              "0 N0 90|Ann 90|New 88 tst_records.conf" });
        row("a FIFO as the organisation's file", { "mkfifo Tarvel.conf", saved });
        row("a same-size rewrite, the same time",
            { "then cp -p $S t && sed -i s/=N1$/=B1/ $S && touch -r t $S", "0 N0 90|New 88|B1 86 tst_records.conf" });
        row("a store shared through an ACL",
            { "chmod 644 $S && setfacl -m u:nobody:rw $S", saved + " 664 user:nobody:rw-", "", "",
              "stat -c%a $S; getfacl -p $S | grep nobody" });
        row("a store made read-only", { "chmod 444 $S", unsaved + " 444", "", "", "stat -c%a $S" });
        row("a store that cannot be replaced", { "sandboxed 'mount --bind $S $S;' Ann:90", saved + " 1" });
        // a real full disk, 0 to 8 blocks free: each save lands whole, or fails, says so and changes nothing
        row("a full disk",
            { "for k in 0 1 2 3 4 5 6 7 8; do full $k; done | sort -u >look", saved + " 0 0 2. Ann 1 same 0 2. N1" });
        row("no /proc, a read-only folder",
            { "sandboxed 'umount -l /proc; mount -r --bind Tarvel Tarvel;' look", saved + " 0 2. N1 0" });
    }

    void situations()
    {
        QFETCH(Situation, s);
        if (::getuid() != 0 || QProcess::execute("unshare", { "-m", "--propagation", "private", "true" }) != 0)
            QSKIP("needs root and private mount namespaces: other accounts, mounts");
#ifdef __SANITIZE_ADDRESS__
        if (s.setup.contains("umount -l /proc"))
            QSKIP("AddressSanitizer needs /proc");
#endif
        Store store(Store::tableText(Scores));
        const QString dir = store.dir.path();
        // in the folder that holds Tarvel/, with the shell functions that start other copies
        const QString prefix = "cd " + dir + " && BIN=" + QCoreApplication::applicationFilePath() + " && . "
            + QFINDTESTDATA("copies.sh") + "; ";
        const auto run = [&](const QString &script) {
            QProcess shell;
            shell.start("sh", { "-c", prefix + script });
            return shell.waitForFinished() && shell.exitCode() == 0 ? shell.readAll().simplified() : "failed";
        };
        QCOMPARE(run(s.setup.section("then ", 0, 0)), "");
        // nothing of the store may need TMPDIR: here it is missing, a FIFO, a file or an empty folder
        qputenv("TMPDIR", (dir + "/t").toLocal8Bit());
        RecordingDisplay display;
        RecordsTable table(display);
        // a look at the table before the script after "then"
        if (s.setup.contains("then "))
            table.LoadAndShowRecords(), run(s.setup.section("then ", 1));
        QProcess::startDetached("sh", { "-c", prefix + s.meanwhile });
        table.enterRecord("New", 88);
        if (!s.next.isEmpty())
            run(s.next), table.enterRecord("New", 88);
        // every copy ended
        run("for p in $(cat Ann Bob 2>/dev/null); do while kill -0 $p 2>/dev/null; do sleep .05; done; done");
        qunsetenv("TMPDIR");
        const QStringList files = filesIn(dir + "/t") + filesIn(dir + "/Tarvel");
        // and what a copy's look or the probe found
        QCOMPARE((QString::number(display.failedSaves) + ' ' + store.stored(1, 3)
                  + (s.after.contains(".conf") ? ' ' + files.join(' ') : "") + ' '
                  + run("cat look 2>/dev/null\n" + s.probe + "\ntrue"))
                     .trimmed(),
                 s.after);
    }
};

// "tst_records copy NAME:SCORE" is another running copy of the game entering a result, failing when its save
// fails; "copy look" shows the hall of fame and prints the failures reported and place 2.
int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    RecordingDisplay display;
    RecordsTable table(display);
    const QString entry = app.arguments().value(2);
    if (app.arguments().value(1) == "copy" && entry == "look")
        return table.LoadAndShowRecords(),
               std::printf("%d %s\n", display.failedSaves, qPrintable(display.names[1].simplified())), 0;
    if (app.arguments().value(1) == "copy")
        return table.enterRecord(entry.section(':', 0, 0), entry.section(':', 1).toFloat())
            == RecordsTable::Entry::Failed;
    TestRecords suite;
    return QTest::qExec(&suite, argc, argv);
}
#include "tst_records.moc"
