// The records table against the real settings store in a temporary directory,
// and two real running copies writing it at once.
#include "nicknames.h"
#include "testkit.h"

#include <QLockFile>
#include <QProcess>

#include <sys/stat.h>

namespace {
const QStringList Scores { "90", "86", "82", "78", "74", "70", "66", "62", "58", "54",
                           "50", "46", "42", "38", "34", "30", "26", "22", "18", "14" };
const QString Default = QStringLiteral("1.  Quib                |20.0%");

// The names of places 1 to 3 in the store file, trimmed.
QString firstNames()
{
    QStringList names;
    for (int i = 0; i < 3; ++i)
        names << TemporaryStore::value(RecordStore::nameKey(i)).trimmed();
    return names.join('|');
}
}

class TestRecords : public QObject
{
    Q_OBJECT

private slots:
    void init() { QLocale::setDefault(QLocale::c()); }
    void storedTables_data();
    void storedTables();
    void savedEntries_data();
    void savedEntries();
    void place_data();
    void place();
    void filesThatAreNotTables_data();
    void filesThatAreNotTables();
    void sameSizeRewriteInTheSameClockTick();
    void failedSaveLeavesNothingBehind();
    void whatACrashLeftBehindIsCleared();
    void liveLockMakesTheSaveFail();
    void copiesRacing_data();
    void copiesRacing();
    void nicknamesFitAName();
};

void TestRecords::storedTables_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value"); // null: the key is missing
    QTest::addColumn<QString>("locale");
    QTest::addColumn<int>("place");
    QTest::addColumn<QString>("shown"); // that place's lines in the two labels

    QTest::newRow("a valid table") << "" << "" << "C" << 1 << "1.  N0                  |90.0%";
    QTest::newRow("the hall title") << "" << "" << "C" << 0 << "";
    for (const char *bad : { "", "abc", "nan", "inf", "1e39", "1,234.5", "1e30", "-1", "101", "1e5" })
        QTest::addRow("score '%s'", bad) << "Data 7 " << bad << "C" << 1 << Default;
    QTest::newRow("missing score") << "Data 7 " << QString() << "C" << 1 << Default;
    QTest::newRow("missing name") << "User 3 " << QString() << "C" << 4 << "4.  " + Blank + "|78.0%";
    QTest::newRow("key without its space") << "User 0" << "X" << "C" << 1 << "1.  N0                  |90.0%";
    QTest::newRow("25-character name") << "User 0 " << "ABCDEFGHIJKLMNOPQRSTUVWXY" << "C" << 1
                                       << "1.  ABCDEFGHIJKLMNOPQRST|90.0%";
    QTest::newRow("line break in a name") << "User 0 " << "A\\nB\\tC" << "C" << 1 << "1.  A B C" + QString(15, ' ') + "|90.0%";
    QTest::newRow("comma under C") << "Data 0 " << "\"90,5\"" << "C" << 1 << "1.  N0                  |90.5%";
    QTest::newRow("point under German") << "Data 0 " << "90.5" << "de_DE" << 1 << "1.  N0                  |90,5%";
    QTest::newRow("Bengali digits under C") << "Data 0 " << "৯০.৫" << "C" << 1 << "1.  N0                  |90.5%";
    QTest::newRow("Arabic digits under C") << "Data 0 " << "٩٠٫٥" << "C" << 1 << "1.  N0                  |90.5%";
    QTest::newRow("ASCII under Persian") << "Data 0 " << "90.5" << "fa_IR" << 1 << "1.  N0                  |۹۰٫۵%";
}

void TestRecords::storedTables()
{
    QFETCH(QString, key);
    QFETCH(QString, value);
    QFETCH(QString, locale);
    QFETCH(int, place);
    QFETCH(QString, shown);

    const QByteArray text = TemporaryStore::tableText(Scores, { { key, value } });
    TemporaryStore store(key.isEmpty() ? TemporaryStore::tableText(Scores) : text);
    QLocale::setDefault(QLocale(locale));
    RecordingDisplay display;
    RecordsTable table(display);
    table.LoadAndShowRecords();
    QCOMPARE(place ? display.line(place - 1) : display.hallTitle, place ? shown : QStringLiteral("Зал славы"));
    QCOMPARE(display.failedSaves, 0);
    // An unreadable table is replaced in the store too; a readable one is left as it is.
    if (shown == Default) {
        for (int i : { 0, 7, 19 })
            QCOMPARE(TemporaryStore::value(RecordStore::nameKey(i)) + TemporaryStore::value(RecordStore::scoreKey(i)),
                     QStringLiteral("Quib                %1").arg(20 - i));
    } else {
        QCOMPARE(TemporaryStore::bytes(), key.isEmpty() ? TemporaryStore::tableText(Scores) : text);
    }
}

void TestRecords::savedEntries_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<float>("score");
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("stored"); // name and score as QSettings reads them, joined by '|'
    QTest::addColumn<QString>("shown");

    QTest::newRow("Latin") << "Ann" << 25.0f << "C" << "Ann                 |25" << "1.  Ann                 |25.0%";
    QTest::newRow("leading spaces") << "  Al" << 25.0f << "C" << "  Al                |25" << "1.    Al                |25.0%";
    QTest::newRow("Cyrillic, comma locale") << "Вася Пупкин" << 35.9375f << "ru_RU" << "Вася Пупкин         |35,9375"
                                            << "1.  Вася Пупкин         |35,9%";
    QTest::newRow("INI specials") << "a=b;c#d\\e[f]\"" << 25.0f << "C" << "a=b;c#d\\e[f]\"       |25" << "1.  a=b;c#d\\e[f]\"       |25.0%";
    QTest::newRow("a comma") << "Smith, John" << 25.0f << "C" << "Smith, John         |25" << "1.  Smith, John         |25.0%";
    QTest::newRow("at sign first") << "@Variant(x)" << 25.0f << "C" << "@Variant(x)         |25" << "1.  @Variant(x)         |25.0%";
    QTest::newRow("emoji, one character") << "Knight \U0001F40E" << 25.0f << "C" << "Knight \U0001F40E            |25"
                                          << "1.  Knight \U0001F40E            |25.0%";
    QTest::newRow("cut at 20, the emoji whole") << "abcdefghijklmnopqrs\U0001F40Ex" << 1.5625f << "C"
                                                << "abcdefghijklmnopqrs\U0001F40E|1.5625" << "1.  abcdefghijklmnopqrs\U0001F40E|1.6%";
    QTest::newRow("Bengali digits") << "Ann" << 12.5f << "bn_BD" << "Ann                 |১২.৫" << "1.  Ann                 |১২.৫%";
}

void TestRecords::savedEntries()
{
    QFETCH(QString, name);
    QFETCH(float, score);
    QFETCH(QString, locale);
    QFETCH(QString, stored);
    QFETCH(QString, shown);

    TemporaryStore store("[General]\nother=kept\n[Users%20Data]\nOther=kept too\n");
    QLocale::setDefault(QLocale(locale));
    RecordingDisplay display;
    RecordsTable table(display);
    table.clearAll();
    QCOMPARE(table.enterRecord(name, score), RecordsTable::Entry::Saved);
    QCOMPARE(TemporaryStore::value(RecordStore::nameKey(0)) + '|' + TemporaryStore::value(RecordStore::scoreKey(0)), stored);
    QCOMPARE(TemporaryStore::value("Other") + QSettings(store.path(), QSettings::NativeFormat).value("other").toString(),
             QStringLiteral("kept tookept"));

    RecordsTable reader(display);
    reader.LoadAndShowRecords();
    QCOMPARE(display.line(0), shown);
    QCOMPARE(reader.RecordScores[0], score);
    QLocale::setDefault(QLocale::c()); // and read back exactly under another locale
    reader.LoadAndShowRecords();
    QCOMPARE(reader.RecordScores[0], score);
    QCOMPARE(display.failedSaves, 0);
}

void TestRecords::place_data()
{
    QTest::addColumn<QStringList>("scores");
    QTest::addColumn<float>("result");
    QTest::addColumn<int>("place"); // 0: none

    QTest::newRow("after the equal ones") << QStringList { "62.5", "50", "50", "37.5" } << 50.0f << 4;
    QTest::newRow("above every entry") << Scores << 100.0f << 1;
    QTest::newRow("between two") << Scores << 87.5f << 2;
    QTest::newRow("the last place") << Scores << 15.625f << 20;
    QTest::newRow("equal to the last") << Scores << 14.0f << 0;
    QTest::newRow("after a clearing") << QStringList() << 1.5625f << 1;
    QTest::newRow("nothing, on a cleared table") << QStringList() << 0.0f << 0;
}

void TestRecords::place()
{
    QFETCH(QStringList, scores);
    QFETCH(float, result);
    QFETCH(int, place);

    TemporaryStore store(TemporaryStore::tableText(scores));
    const QByteArray before = TemporaryStore::bytes();
    RecordingDisplay display;
    RecordsTable table(display);
    QCOMPARE(table.enterRecord("New", result), place ? RecordsTable::Entry::Saved : RecordsTable::Entry::NoPlace);
    if (place == 0) {
        QCOMPARE(TemporaryStore::bytes(), before);
        return;
    }
    table.LoadAndShowRecords();
    QCOMPARE(table.RecordNames[place - 1], padded("New"));
    QCOMPARE(table.RecordScores[place - 1], result);
    // The entries below move down one place; the last one is lost.
    for (int i = place; i < RecordCount; ++i)
        QCOMPARE(table.RecordNames[i], padded(QStringLiteral("N%1").arg(i - 1)));
}

void TestRecords::filesThatAreNotTables_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("works");

    QTest::newRow("a FIFO") << "fifo" << false;
    QTest::newRow("a directory") << "directory" << false;
    QTest::newRow("a symlink to a FIFO") << "link to fifo" << false;
    QTest::newRow("a symlink to a table") << "link to table" << true;
}

void TestRecords::filesThatAreNotTables()
{
    QFETCH(QString, kind);
    QFETCH(bool, works);

    TemporaryStore store;
    const QString target = store.dir() + "/target";
    if (kind.endsWith("fifo"))
        QCOMPARE(mkfifo(qPrintable(kind == "fifo" ? store.path() : target), 0600), 0);
    if (kind == "directory")
        QVERIFY(QDir().mkpath(store.path()));
    if (kind == "link to table") {
        QFile file(target);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(TemporaryStore::tableText(Scores)));
    }
    if (kind.startsWith("link"))
        QVERIFY(QFile::link(target, store.path()));

    RecordingDisplay display;
    RecordsTable table(display);
    table.LoadAndShowRecords(); // a FIFO must not block this
    QCOMPARE(display.line(0), works ? QStringLiteral("1.  N0                  |90.0%") : Default);
    QCOMPARE(table.enterRecord("New", 100) == RecordsTable::Entry::Saved, works);
    QCOMPARE(display.failedSaves, works ? 0 : 2);
    QCOMPARE(QFileInfo(store.path()).isSymLink(), kind.startsWith("link"));
    if (works)
        QCOMPARE(TemporaryStore::value(RecordStore::nameKey(0)), padded("New"));
}

void TestRecords::sameSizeRewriteInTheSameClockTick()
{
    // On a file system with a coarse clock another copy's rewrite keeps the file's time.
    TemporaryStore store(TemporaryStore::tableText(Scores));
    RecordingDisplay display;
    RecordsTable table(display);
    table.LoadAndShowRecords();
    const QDateTime time = QFileInfo(store.path()).lastModified();
    TemporaryStore::write(TemporaryStore::tableText(Scores, { { "User 1 ", "B1" } }));
    QFile file(store.path());
    QVERIFY(file.open(QIODevice::ReadWrite) && file.setFileTime(time, QFileDevice::FileModificationTime));
    file.close();

    QCOMPARE(table.enterRecord("New", 88), RecordsTable::Entry::Saved);
    QCOMPARE(firstNames(), "N0|New|B1");
}

void TestRecords::failedSaveLeavesNothingBehind()
{
    TemporaryStore store(TemporaryStore::tableText(Scores));
    RecordingDisplay display;
    RecordsTable table(display);
    table.LoadAndShowRecords();
    QVERIFY(QFile::rename(store.path(), store.path() + ".away") && QDir().mkpath(store.path()));
    QCOMPARE(table.enterRecord("Lost", 100), RecordsTable::Entry::Failed);
    QCOMPARE(display.failedSaves, 1);

    // Another copy saves meanwhile; this one's entry must not come back.
    QVERIFY(QDir().rmdir(store.path()) && QFile::rename(store.path() + ".away", store.path()));
    TemporaryStore::write(TemporaryStore::tableText(Scores, { { "User 0 ", "Other" } }));
    table.switchHall();
    table.switchHall();
    QCOMPARE(display.line(0), "1.  Other               |90.0%");
    QCOMPARE(table.enterRecord("New", 88), RecordsTable::Entry::Saved);
    QCOMPARE(firstNames(), "Other|New|N1");
}

void TestRecords::whatACrashLeftBehindIsCleared()
{
    // A stray line before the section, an empty lock and a half-done replacement.
    TemporaryStore store("stray\n" + TemporaryStore::tableText(Scores));
    for (const QString &left : { RecordStore::lockPath(), store.path() + ".AbC123" })
        QVERIFY(QFile(left).open(QIODevice::WriteOnly));
    RecordingDisplay display;
    RecordsTable table(display);
    QCOMPARE(table.enterRecord("New", 100), RecordsTable::Entry::Saved);
    QCOMPARE(display.failedSaves, 0);
    QVERIFY(!QFile::exists(store.path() + ".AbC123"));
    QCOMPARE(firstNames(), "New|N0|N1");
}

void TestRecords::liveLockMakesTheSaveFail()
{
    TemporaryStore store(TemporaryStore::tableText(Scores));
    QLockFile lock(RecordStore::lockPath());
    QVERIFY(lock.lock());
    RecordingDisplay display;
    RecordsTable table(display);
    QCOMPARE(table.enterRecord("New", 100), RecordsTable::Entry::Failed);
    QCOMPARE(display.failedSaves, 1);
    QCOMPARE(firstNames(), "N0|N1|N2");
}

void TestRecords::copiesRacing_data()
{
    QTest::addColumn<QStringList>("first"); // held between its read and its write
    QTest::addColumn<QStringList>("second");
    QTest::addColumn<QString>("names");

    QTest::newRow("two records") << QStringList { "enter", "Ann", "90" } << QStringList { "enter", "Bob", "80" } << "Ann|Bob|Quib";
    QTest::newRow("a clear racing a record") << QStringList { "enter", "Ann", "90" } << QStringList { "clear" } << "||";
    QTest::newRow("a record racing a clear") << QStringList { "clear" } << QStringList { "enter", "Bob", "80" } << "Bob||";
}

void TestRecords::copiesRacing()
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
    b.waitForFinished(1000); // finishes only if it does not wait for the lock
    QVERIFY(QFile(hold).open(QIODevice::WriteOnly));
    QVERIFY(a.waitForFinished(10000) && b.waitForFinished(10000));
    QCOMPARE(a.exitCode() + b.exitCode(), 0);

    QFile::copy(store.dir() + "/Tarvel/records_copy.conf", store.path());
    QCOMPARE(firstNames(), names);
}

void TestRecords::nicknamesFitAName()
{
    QSet<QString> seen;
    for (int i = 0; i < 400; ++i) {
        const QString nickname = Imia();
        QVERIFY2(nickname.size() >= 4 && nickname.size() <= 17, qPrintable(nickname));
        seen.insert(nickname);
    }
    QCOMPARE(seen.size(), 20);
}

QTEST_GUILESS_MAIN(TestRecords)
#include "tst_records.moc"
