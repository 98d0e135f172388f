// The records table against the real store in a temporary folder, and real copies racing.
#include "nicknames.h"
#include "testkit.h"

#include <sys/stat.h>

namespace {
// A stored input (changes to a table of N0 90, N1 86… N19 14: "Key =value;-Removed key "), the
// locale, what the program then does ("enter NAME|SCORE", "clear", joined by " then "), a line
// of the hall it shows (a name's padding left out unless written) and places 1-4 as stored
// (empty: the file is left as it was).
struct Case
{
    QString file, locale, action, shown, stored;
};
const QStringList Scores { "90", "86", "82", "78", "74", "70", "66", "62", "58", "54",
                           "50", "46", "42", "38", "34", "30", "26", "22", "18", "14" };
const QString N0 = "1.  N0|90.0%", Default = "1.  Quib|20.0%", DefaultTable = "Quib 20|Quib 19|Quib 18|Quib 17";

// Another running copy of the game ("enter NAME SCORE" or "clear") on the store under `configHome`;
// with `hold`, it stops between its read and its write until that file exists.
bool startCopy(QProcess &copy, const QStringList &action, const QString &hold, const QString &configHome = {})
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    if (!configHome.isEmpty())
        environment.insert("XDG_CONFIG_HOME", configHome);
    environment.insert("TARVEL_HOLD_AFTER_READ", hold);
    copy.setProcessEnvironment(environment);
    copy.start(QCoreApplication::applicationFilePath(), QStringList { "copy" } + action);
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
            QTest::addRow("score '%s'", bad) << Case { QString("Data 7 =") + bad, "C", "", Default, DefaultTable };
        QTest::newRow("missing score") << Case { "-Data 7 ", "C", "", Default, DefaultTable };
        QTest::newRow("breaks and a tag in a name")
            << Case { "User 0 =A\\nB\\tC\U000E0041D", "C", "", "1.  A B C D             |90.0%", "" };
        QTest::newRow("comma under C") << Case { "Data 0 =\"90,5\"", "C", "", "1.  N0|90.5%", "" };
        QTest::newRow("point under German") << Case { "Data 0 =90.5", "de_DE", "", "1.  N0|90,5%", "" };
        QTest::newRow("Bengali digits under C") << Case { "Data 0 =৯০.৫", "C", "", "1.  N0|90.5%", "" };
        QTest::newRow("Arabic digits under C") << Case { "Data 0 =٩٠٫٥", "C", "", "1.  N0|90.5%", "" };
        QTest::newRow("a quarter shown half up") << Case { "Data 0 =0.25", "C", "", "1.  N0|.3%", "" };
        QTest::newRow("above all") << Case { "", "C", "enter Ann|100", "1.  Ann|100.0%", "Ann 100|N0 90|N1 86|N2 82" };
        QTest::newRow("after the equal ones")
            << Case { "Data 2 =86", "C", "enter New|86", "4.  New|86.0%", "N0 90|N1 86|N2 86|New 86" };
        QTest::newRow("equal to the last") << Case { "", "C", "enter New|14", N0, "" };
        QTest::newRow("on an unreadable table")
            << Case { "Data 7 =abc", "C", "enter New|19.5", "2.  New|19.5%", "Quib 20|New 19.5|Quib 19|Quib 18" };
        QTest::newRow("after a clearing")
            << Case { "", "C", "clear then enter New|1.5625", "1.  New|1.6%", "New 1.5625| 0| 0| 0" };
        QTest::newRow("Cyrillic, comma locale")
            << Case { "", "ru_RU", "enter Вася|96.875", "1.  Вася|96,9%", "Вася 96,875|N0 90|N1 86|N2 82" };
        QTest::newRow("INI specials") << Case { "", "C", "enter a=b;c#d\\e[f]\"|95", "1.  a=b;c#d\\e[f]\"|95.0%",
                                                "a=b;c#d\\e[f]\" 95|N0 90|N1 86|N2 82" };
        QTest::newRow("cut at 20, an emoji whole")
            << Case { "", "C", "enter abcdefghijklmnopqrs\U0001F40Ex|95", "1.  abcdefghijklmnopqrs\U0001F40E|95.0%",
                      "abcdefghijklmnopqrs\U0001F40E 95|N0 90|N1 86|N2 82" };
        QTest::newRow("an emoji padded as one")
            << Case { "", "C", "enter \U0001F40E|95", "1.  \U0001F40E                   |95.0%",
                      "\U0001F40E 95|N0 90|N1 86|N2 82" };
        QTest::newRow("Bengali digits") << Case { "", "bn_BD", "enter Ann|95.5", "1.  Ann|৯৫.৫%",
                                                  "Ann ৯৫.৫|N0 ৯০|N1 ৮৬|N2 ৮২" };
    }

    void table()
    {
        QFETCH(Case, c);
        QMap<QString, QString> patch;
        for (const QString &change : c.file.split(';', Qt::SkipEmptyParts))
            patch.insert(change.startsWith('-') ? change.mid(1) : change.section('=', 0, 0),
                         change.startsWith('-') ? QString() : change.section('=', 1));
        const QByteArray text = "[General]\nother=kept\n" + TemporaryStore::tableText(Scores, patch);
        TemporaryStore store(text);
        QLocale::setDefault(QLocale(c.locale));
        RecordingDisplay display;
        RecordsTable table(display);
        for (const QString &step : c.action.split(" then ", Qt::SkipEmptyParts))
            step == "clear" ? void(table.clearAll())
                            : void(table.enterRecord(step.mid(6).section('|', 0, 0), step.section('|', 1).toFloat()));
        table.LoadAndShowRecords();
        QString line = display.lines.value(c.shown.section('.', 0, 0).toInt());
        if (!c.shown.contains(QRegularExpression("  \\|")))
            line.remove(QRegularExpression(" +(?=\\|)"));
        QCOMPARE(line, c.shown);
        QCOMPARE(c.stored.isEmpty() ? store.bytes() : store.stored(1, 4).toUtf8(),
                 c.stored.isEmpty() ? text : c.stored.toUtf8());
        QCOMPARE(QString::number(display.failedSaves)
                     + QSettings(store.path(), QSettings::NativeFormat).value("other").toString(),
                 "0kept");
        QLocale::setDefault(QLocale::c()); // and is read back exactly under another locale
        const float first = table.RecordScores[0];
        table.LoadAndShowRecords();
        QCOMPARE(table.RecordScores[0], first);
    }

    // What is found where the table should be, and what entering a result of 88 % then gives.
    void situations_data()
    {
        QTest::addColumn<QString>("situation");
        QTest::addColumn<QString>("names"); // places 1-3 afterwards; empty: the save failed and said so
        const QString saved = "N0 90|New 88|N1 86";
        QTest::newRow("a FIFO") << "fifo"
                                << "";
        QTest::newRow("a directory") << "directory"
                                     << "";
        QTest::newRow("a symlink to a FIFO") << "link to fifo"
                                             << "";
        QTest::newRow("a symlink to a table") << "link to table" << saved;
        QTest::newRow("a live copy holding the lock") << "locked"
                                                      << "";
        QTest::newRow("a crash's empty lock and files, a stray line, the player's files") << "crash" << saved;
        QTest::newRow("a lock left on another host") << "lock 12345 elsewhere" << saved;
        QTest::newRow("a lock naming this process, held by no one") << "lock own" << saved;
        QTest::newRow("TMPDIR a FIFO") << "tmp fifo" << saved;
        QTest::newRow("TMPDIR a missing folder") << "tmp missing" << saved;
        QTest::newRow("a FIFO at the organisation's file") << "organisation fifo" << saved;
        QTest::newRow("a same-size rewrite in one clock tick") << "coarse clock"
                                                               << "N0 90|New 88|B1 86";
        QTest::newRow("a failed save, then another copy's") << "failed"
                                                            << "Other 90|New 88|N1 86";
    }

    void situations()
    {
        QFETCH(QString, situation);
        QFETCH(QString, names);
        TemporaryStore store((situation == "crash" ? "stray\n" : "") + TemporaryStore::tableText(Scores));
        const QString target = store.dir() + "/target", folder = store.dir() + "/Tarvel",
                      crashed = folder + "/.tst_records.conf.saving-AbC123";
        QStringList kept { "tst_records.conf" };
        const bool replaced = QStringList { "fifo", "directory", "link to fifo", "link to table" }.contains(situation);
        QVERIFY(!replaced || QFile::rename(store.path(), target + (situation == "link to table" ? "" : ".old")));
        const QString fifo = situation == "fifo"   ? store.path()
            : situation.endsWith(" fifo")          ? target
            : situation.startsWith("organisation") ? store.dir() + "/Tarvel.conf"
                                                   : "";
        QVERIFY(fifo.isEmpty() || mkfifo(qPrintable(fifo), 0600) == 0);
        QVERIFY(situation != "directory" || QDir().mkpath(store.path()));
        QVERIFY(!situation.startsWith("link") || QFile::link(target, store.path()));
        if (situation.startsWith("tmp"))
            qputenv("TMPDIR", (situation == "tmp fifo" ? target : store.dir() + "/missing").toLocal8Bit());
        QProcess holder;
        if (situation == "locked")
            QVERIFY(startCopy(holder, { "enter", "Held", "99" }, store.dir() + "/never"));
        QFile lock(RecordStore::lockPath()); // left by a copy that is gone
        const QString own = QString("%1\ntst_records\n%2\n%3\n")
                                .arg(QCoreApplication::applicationPid())
                                .arg(QSysInfo::machineHostName(), QString(QSysInfo::machineUniqueId()));
        if (situation.startsWith("lock") || situation == "crash")
            QVERIFY(lock.open(QIODevice::WriteOnly)
                    && lock.write(situation == "lock own"
                                      ? own.toUtf8()
                                      : situation.section(' ', 1).replace(' ', "\ntst_records\n").toUtf8())
                        >= 0);
        lock.close();
        if (situation == "crash") {
            kept << "tst_records.conf.backup"
                 << "tst_records.conf.old001"
                 << "tst_records.conf.ABCDEF"
                 << "tst_records.conf~";
            for (const QString &name : kept.mid(1) + QStringList { crashed, crashed + ".lock" })
                QVERIFY(QFile(name.startsWith('/') ? name : folder + '/' + name).open(QIODevice::WriteOnly));
        }
        RecordingDisplay display;
        RecordsTable table(display);
        table.LoadAndShowRecords(); // a FIFO must not block this
        QCOMPARE(display.lines[1].remove(QRegularExpression(" +(?=\\|)")),
                 replaced && situation != "link to table" ? Default : N0);
        if (situation == "failed") { // the entry must never come back, shown or saved
            QVERIFY(QFile::rename(store.path(), target) && QDir().mkpath(store.path()));
            QCOMPARE(table.enterRecord("Lost", 100), RecordsTable::Entry::Failed);
            QVERIFY(QDir().rmdir(store.path()));
            store.write(TemporaryStore::tableText(Scores, { { "User 0 ", "Other" } })); // another copy's table
        }
        if (situation == "coarse clock") { // looked at, then another copy rewrites the file and its time stays the same
            QCOMPARE(table.enterRecord("Low", 1), RecordsTable::Entry::NoPlace);
            const QDateTime time = QFileInfo(store.path()).lastModified();
            store.write(TemporaryStore::tableText(Scores, { { "User 1 ", "B1" } }));
            QFile file(store.path());
            QVERIFY(file.open(QIODevice::ReadWrite) && file.setFileTime(time, QFileDevice::FileModificationTime));
        }
        QCOMPARE(table.enterRecord("New", 88) == RecordsTable::Entry::Saved, !names.isEmpty());
        qunsetenv("TMPDIR");
        holder.kill();
        holder.waitForFinished();
        QCOMPARE(display.failedSaves, names.isEmpty() ? 1 + replaced : situation == "failed");
        QCOMPARE(store.stored(1, 3), names.isEmpty() ? (replaced ? " | | " : "N0 90|N1 86|N2 82") : names);
        QCOMPARE(QFileInfo(store.path()).isSymLink(), situation.startsWith("link"));
        kept.sort();
        if (!names.isEmpty()) // only the store is left beside it, and the player's own files
            QCOMPARE(filesIn(folder), kept);
    }

    void copiesRacing_data()
    {
        QTest::addColumn<QStringList>("first"); // held between its read and its write
        QTest::addColumn<QStringList>("second"); // none: the first is killed there, then this copy enters Bob 80
        QTest::addColumn<bool>("linked"); // the second's store is a link to the first's
        QTest::addColumn<QString>("names");
        const QStringList ann { "enter", "Ann", "90" }, bob { "enter", "Bob", "80" };
        QTest::newRow("two records") << ann << bob << false << "Ann 90|Bob 80|Quib 20";
        QTest::newRow("two records, one store through a link") << ann << bob << true << "Ann 90|Bob 80|Quib 20";
        QTest::newRow("a clear racing a record") << ann << QStringList { "clear" } << false << " 0| 0| 0";
        QTest::newRow("a record racing a clear") << QStringList { "clear" } << bob << false << "Bob 80| 0| 0";
        QTest::newRow("a copy killed while saving") << ann << QStringList() << false << "Bob 80|Quib 20|Quib 19";
    }

    void copiesRacing()
    {
        QFETCH(QStringList, first);
        QFETCH(QStringList, second);
        QFETCH(bool, linked);
        QFETCH(QString, names);
        TemporaryStore store;
        const QString hold = store.dir() + "/go", tmp = store.dir() + "/tmp", other = store.dir() + "/other";
        QVERIFY(QDir().mkpath(tmp) && QDir().mkpath(other + "/Tarvel")
                && QFile::link(store.path(), other + "/Tarvel/tst_records.conf"));
        qputenv("TMPDIR", tmp.toLocal8Bit());
        QProcess a, b;
        QVERIFY(startCopy(a, first, hold));
        if (second.isEmpty()) {
            a.kill();
            RecordingDisplay display;
            QVERIFY(a.waitForFinished(10000)
                    && RecordsTable(display).enterRecord("Bob", 80) == RecordsTable::Entry::Saved);
        } else {
            QVERIFY(startCopy(b, second, {}, linked ? other : store.dir()));
            b.waitForFinished(1000); // finishes now only if it does not wait for the lock
            QVERIFY(QFile(hold).open(QIODevice::WriteOnly));
            QVERIFY(a.waitForFinished(10000) && b.waitForFinished(10000) && a.exitCode() + b.exitCode() == 0);
        }
        qunsetenv("TMPDIR");
        QCOMPARE(store.stored(1, 3), names);
        QCOMPARE(filesIn(tmp) + filesIn(store.dir() + "/Tarvel"),
                 QStringList { "tst_records.conf" }); // nothing left behind
    }

    void twentyNicknamesThatFitAName()
    {
        QSet<QString> seen;
        for (int i = 0; i < 400; ++i)
            seen.insert(Imia());
        QCOMPARE(seen.size(), 20);
        QVERIFY(std::all_of(seen.begin(), seen.end(),
                            [](const QString &name) { return name.size() >= 4 && name.size() <= 17; }));
    }
};

// "tst_records copy enter NAME SCORE" or "tst_records copy clear" is another running copy of the game.
int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    RecordingDisplay display;
    if (args.value(1) == "copy")
        return args.value(2) == "clear"
            ? !RecordsTable(display).clearAll()
            : RecordsTable(display).enterRecord(args.value(3), args.value(4).toFloat()) == RecordsTable::Entry::Failed;
    TestRecords suite;
    return QTest::qExec(&suite, argc, argv);
}
#include "tst_records.moc"
