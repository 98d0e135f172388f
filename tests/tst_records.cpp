// The records table against the real store in a temporary directory, and two real copies racing.
#include "nicknames.h"
#include "testkit.h"

#include <QLockFile>
#include <QProcess>

#include <sys/stat.h>

namespace {
const QStringList Scores { "90", "86", "82", "78", "74", "70", "66", "62", "58", "54", "50", "46", "42", "38", "34", "30", "26", "22", "18", "14" };
const QString N0 = "1.  N0                  |90.0%", Default = "1.  Quib                |20.0%";
}

class TestRecords : public QObject
{
    Q_OBJECT

private slots:
    void init() { QLocale::setDefault(QLocale::c()); }

    // Stored inputs and the table they give: rows of (key, value; null: removed), locale, a place and its two lines.
    void storedTables_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("locale");
        QTest::addColumn<int>("place"); // 0: the hall title
        QTest::addColumn<QString>("shown");

        QTest::newRow("a valid table") << "" << "" << "C" << 1 << N0;
        QTest::newRow("its title") << "" << "" << "C" << 0 << "Зал славы|";
        for (const char *bad : { "", "abc", "nan", "inf", "1e39", "1,234.5", "1e30", "-1", "101", "1e5" })
            QTest::addRow("score '%s'", bad) << "Data 7 " << bad << "C" << 1 << Default;
        QTest::newRow("missing score") << "Data 7 " << QString() << "C" << 1 << Default;
        QTest::newRow("missing name") << "User 3 " << QString() << "C" << 4 << "4.  " + Blank + "|78.0%";
        QTest::newRow("a key without its space") << "User 0" << "X" << "C" << 1 << N0;
        QTest::newRow("25-character name") << "User 0 " << "ABCDEFGHIJKLMNOPQRSTUVWXY" << "C" << 1 << "1.  ABCDEFGHIJKLMNOPQRST|90.0%";
        QTest::newRow("breaks in a name") << "User 0 " << "A\\nB\\tC" << "C" << 1 << "1.  A B C               |90.0%";
        QTest::newRow("comma under C") << "Data 0 " << "\"90,5\"" << "C" << 1 << "1.  N0                  |90.5%";
        QTest::newRow("point under German") << "Data 0 " << "90.5" << "de_DE" << 1 << "1.  N0                  |90,5%";
        QTest::newRow("Bengali digits under C") << "Data 0 " << "৯০.৫" << "C" << 1 << "1.  N0                  |90.5%";
        QTest::newRow("Arabic digits under C") << "Data 0 " << "٩٠٫٥" << "C" << 1 << "1.  N0                  |90.5%";
        QTest::newRow("ASCII under Persian") << "Data 0 " << "90.5" << "fa_IR" << 1 << "1.  N0                  |۹۰٫۵%";
    }

    void storedTables()
    {
        QFETCH(QString, key);
        QFETCH(QString, value);
        QFETCH(QString, locale);
        QFETCH(int, place);
        QFETCH(QString, shown);
        const QByteArray text = TemporaryStore::tableText(Scores, { { key.isEmpty() ? "Data 0 " : key, key.isEmpty() ? "90" : value } });
        TemporaryStore store(text);
        QLocale::setDefault(QLocale(locale));
        RecordingDisplay display;
        RecordsTable(display).LoadAndShowRecords();
        QCOMPARE(display.line(place), shown);
        QCOMPARE(display.failedSaves, 0);
        // An unreadable table is replaced in the store too; a readable one is left as it is.
        if (shown == Default)
            QCOMPARE(store.stored(true, 1, 20) + store.stored(false, 1, 20), QStringList(20, "Quib").join('|') + "20|19|18|17|16|15|14|13|12|11|10|9|8|7|6|5|4|3|2|1");
        else
            QCOMPARE(store.bytes(), text);
    }

    // Entries saved through the program, as QSettings reads them back and as they are shown, under any locale.
    void savedEntries_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<float>("score");
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("stored");

        QTest::newRow("Latin") << "Ann" << 25.0f << "C" << "Ann                 |25|1.  Ann                 |25.0%";
        QTest::newRow("leading spaces") << "  Al" << 25.0f << "C" << "  Al                |25|1.    Al                |25.0%";
        QTest::newRow("Cyrillic, comma locale") << "Вася Пупкин" << 35.9375f << "ru_RU" << "Вася Пупкин         |35,9375|1.  Вася Пупкин         |35,9%";
        QTest::newRow("INI specials") << "a=b;c#d\\e[f]\"" << 25.0f << "C" << "a=b;c#d\\e[f]\"       |25|1.  a=b;c#d\\e[f]\"       |25.0%";
        QTest::newRow("comma, at sign") << "@Smith, John" << 25.0f << "C" << "@Smith, John        |25|1.  @Smith, John        |25.0%";
        QTest::newRow("cut at 20, an emoji whole") << "abcdefghijklmnopqrs\U0001F40Ex" << 1.5625f << "C" << "abcdefghijklmnopqrs\U0001F40E|1.5625|1.  abcdefghijklmnopqrs\U0001F40E|1.6%";
        QTest::newRow("Bengali digits") << "Ann" << 12.5f << "bn_BD" << "Ann                 |১২.৫|1.  Ann                 |১২.৫%";
    }

    void savedEntries()
    {
        QFETCH(QString, name);
        QFETCH(float, score);
        QFETCH(QString, locale);
        QFETCH(QString, stored);
        TemporaryStore store("[General]\nother=kept\n[Users%20Data]\nOther=kept too\n");
        QLocale::setDefault(QLocale(locale));
        RecordingDisplay display;
        RecordsTable table(display);
        QVERIFY(table.clearAll());
        QCOMPARE(table.enterRecord(name, score), RecordsTable::Entry::Saved);
        table.LoadAndShowRecords();
        QCOMPARE(store.value(RecordStore::nameKey(0)) + '|' + store.value(RecordStore::scoreKey(0)) + '|' + display.line(1), stored);
        QCOMPARE(store.value("Other") + QSettings(store.path(), QSettings::NativeFormat).value("other").toString(), "kept tookept");
        QLocale::setDefault(QLocale::c()); // read back exactly under another locale
        table.LoadAndShowRecords();
        QCOMPARE(table.RecordScores[0], score);
    }

    void place_data()
    {
        QTest::addColumn<QStringList>("scores");
        QTest::addColumn<float>("result");
        QTest::addColumn<QString>("names"); // places 1 to 5 afterwards

        QTest::newRow("after the equal ones") << QStringList { "62.5", "50", "50", "37.5" } << 50.0f << "N0|N1|N2|New|N3";
        QTest::newRow("above every entry") << Scores << 100.0f << "New|N0|N1|N2|N3";
        QTest::newRow("between two") << Scores << 87.5f << "N0|New|N1|N2|N3";
        QTest::newRow("equal to the last") << Scores << 14.0f << "N0|N1|N2|N3|N4";
        QTest::newRow("after a clearing") << QStringList() << 1.5625f << "New|N0|N1|N2|N3";
        QTest::newRow("nothing, on a cleared table") << QStringList() << 0.0f << "N0|N1|N2|N3|N4";
    }

    void place()
    {
        QFETCH(QStringList, scores);
        QFETCH(float, result);
        QFETCH(QString, names);
        TemporaryStore store(TemporaryStore::tableText(scores));
        const QByteArray before = store.bytes();
        RecordingDisplay display;
        const auto entry = RecordsTable(display).enterRecord("New", result);
        QCOMPARE(entry, names.contains("New") ? RecordsTable::Entry::Saved : RecordsTable::Entry::NoPlace);
        QCOMPARE(store.stored(true, 1, 5), names);
        QCOMPARE(store.stored(true, 20, 20), names.contains("New") ? "N18" : "N19"); // the last one drops out
        if (!names.contains("New"))
            QCOMPARE(store.bytes(), before);
    }

    void filesThatAreNotTables_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("a FIFO") << "fifo";
        QTest::newRow("a directory") << "directory";
        QTest::newRow("a symlink to a FIFO") << "link to fifo";
        QTest::newRow("a symlink to a table") << "link to table";
    }

    void filesThatAreNotTables()
    {
        QFETCH(QString, kind);
        TemporaryStore store;
        const QString target = store.dir() + "/target";
        const bool works = kind == "link to table";
        QVERIFY(kind != "fifo" || mkfifo(qPrintable(store.path()), 0600) == 0);
        QVERIFY(kind != "link to fifo" || mkfifo(qPrintable(target), 0600) == 0);
        QVERIFY(kind != "directory" || QDir().mkpath(store.path()));
        QVERIFY(!works || QFile(target).open(QIODevice::WriteOnly)); // an empty file, read as an empty table
        QVERIFY(!kind.startsWith("link") || QFile::link(target, store.path()));
        RecordingDisplay display;
        RecordsTable table(display);
        table.LoadAndShowRecords(); // a FIFO must not block this
        QCOMPARE(display.line(1), Default);
        QCOMPARE(table.enterRecord("New", 100) == RecordsTable::Entry::Saved, works);
        QCOMPARE(display.failedSaves, works ? 0 : 2);
        QCOMPARE(QFileInfo(store.path()).isSymLink(), kind.startsWith("link"));
        QCOMPARE(store.stored(true, 1, 2), works ? "New|Quib" : "|");
    }

    void sameSizeRewriteInOneClockTick()
    {
        TemporaryStore store(TemporaryStore::tableText(Scores));
        RecordingDisplay display;
        RecordsTable table(display);
        table.LoadAndShowRecords();
        QCOMPARE(table.enterRecord("Low", 1), RecordsTable::Entry::NoPlace);
        // Another copy rewrites the file; on a coarse clock its time stays the same.
        const QDateTime time = QFileInfo(store.path()).lastModified();
        store.write(TemporaryStore::tableText(Scores, { { "User 1 ", "B1" } }));
        QFile file(store.path());
        QVERIFY(file.open(QIODevice::ReadWrite) && file.setFileTime(time, QFileDevice::FileModificationTime));
        file.close();
        QCOMPARE(table.enterRecord("New", 88), RecordsTable::Entry::Saved);
        QCOMPARE(store.stored(true, 1, 3), "N0|New|B1");
    }

    void failedSaveLeavesNothingBehind()
    {
        TemporaryStore store(TemporaryStore::tableText(Scores));
        RecordingDisplay display;
        RecordsTable table(display);
        QVERIFY(QFile::rename(store.path(), store.dir() + "/away") && QDir().mkpath(store.path()));
        QCOMPARE(table.enterRecord("Lost", 100), RecordsTable::Entry::Failed);
        // Another copy saves meanwhile; the failed entry must never come back.
        QVERIFY(QDir().rmdir(store.path()) && QFile::rename(store.dir() + "/away", store.path()));
        store.write(TemporaryStore::tableText(Scores, { { "User 0 ", "Other" } }));
        table.switchHall();
        table.switchHall();
        QCOMPARE(display.line(1), "1.  Other               |90.0%");
        QCOMPARE(table.enterRecord("New", 88), RecordsTable::Entry::Saved);
        QCOMPARE(store.stored(true, 1, 3), "Other|New|N1");
        QCOMPARE(display.failedSaves, 1);
    }

    void whatACrashLeftBehindIsCleared()
    {
        // A stray line before the section, an empty lock and a half-done replacement.
        TemporaryStore store("stray\n" + TemporaryStore::tableText(Scores));
        QVERIFY(QFile(RecordStore::lockPath()).open(QIODevice::WriteOnly) && QFile(store.path() + ".AbC123").open(QIODevice::WriteOnly));
        RecordingDisplay display;
        QCOMPARE(RecordsTable(display).enterRecord("New", 100), RecordsTable::Entry::Saved);
        QCOMPARE(display.failedSaves, 0);
        QVERIFY(!QFile::exists(store.path() + ".AbC123"));
        QCOMPARE(store.stored(true, 1, 2), "New|N0");
    }

    void liveLockMakesTheSaveFail()
    {
        TemporaryStore store(TemporaryStore::tableText(Scores));
        QLockFile lock(RecordStore::lockPath());
        QVERIFY(lock.lock());
        RecordingDisplay display;
        QCOMPARE(RecordsTable(display).enterRecord("New", 100), RecordsTable::Entry::Failed);
        QCOMPARE(store.stored(true, 1, 2), "N0|N1");
    }

    void copiesRacing_data()
    {
        QTest::addColumn<QStringList>("first"); // held between its read and its write
        QTest::addColumn<QStringList>("second");
        QTest::addColumn<QString>("names");
        QTest::newRow("two records") << QStringList { "enter", "Ann", "90" } << QStringList { "enter", "Bob", "80" } << "Ann|Bob|Quib";
        QTest::newRow("a clear racing a record") << QStringList { "enter", "Ann", "90" } << QStringList { "clear" } << "||";
        QTest::newRow("a record racing a clear") << QStringList { "clear" } << QStringList { "enter", "Bob", "80" } << "Bob||";
    }

    void copiesRacing()
    {
        QFETCH(QStringList, first);
        QFETCH(QStringList, second);
        QFETCH(QString, names);
        TemporaryStore store;
        const QString hold = store.dir() + "/go";
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("XDG_CONFIG_HOME", store.dir());
        QProcess a, b;
        b.setProcessEnvironment(environment);
        environment.insert("TARVEL_HOLD_AFTER_READ", hold);
        a.setProcessEnvironment(environment);
        a.start(RECORDS_COPY, first);
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(hold + ".reached"), 10000);
        b.start(RECORDS_COPY, second);
        b.waitForFinished(1000); // finishes now only if it does not wait for the lock
        QVERIFY(QFile(hold).open(QIODevice::WriteOnly));
        QVERIFY(a.waitForFinished(10000) && b.waitForFinished(10000));
        QCOMPARE(a.exitCode() + b.exitCode(), 0);
        QVERIFY(QFile::rename(store.dir() + "/Tarvel/records_copy.conf", store.path()));
        QCOMPARE(store.stored(true, 1, 3), names);
    }

    void nicknamesFitAName()
    {
        QSet<QString> seen;
        for (int i = 0; i < 400; ++i)
            seen.insert(Imia());
        QCOMPARE(seen.size(), 20);
        for (const QString &nickname : seen)
            QVERIFY2(nickname.size() >= 4 && nickname.size() <= 17, qPrintable(nickname));
    }
};

QTEST_GUILESS_MAIN(TestRecords)
#include "tst_records.moc"
