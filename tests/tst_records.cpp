// The records table against the real settings store in a temporary directory.
#include "nicknames.h"
#include "recordtext.h"
#include "storefixture.h"

#include <QRegularExpression>

namespace {
const QString Quib = QStringLiteral("Quib                ");
const QString Blank(20, QLatin1Char(' '));

QString defaultHall(int offset)
{
    QString names, scores;
    for (int i = offset; i < offset + 10; ++i) {
        names += QString::number(i + 1) + ".  " + Quib + "\r\r";
        scores += QString::number(20 - i) + ".0%\r\r";
    }
    return names + '|' + scores;
}

void verifyDefaultTableStored()
{
    for (int i = 0; i < RecordCount; ++i) {
        QCOMPARE(TemporaryStore::value(RecordStore::nameKey(i)), Quib);
        QCOMPARE(TemporaryStore::value(RecordStore::scoreKey(i)), QString::number(20 - i));
    }
}
}

class TestRecords : public QObject
{
    Q_OBJECT

private slots:
    void init() { QLocale::setDefault(QLocale::c()); }

    void storeIsNamedAfterTheExecutable();
    void keysCarryOneTrailingSpace();
    void firstStartWritesAndShowsDefaultTable();
    void unreadableScoreRebuildsWholeTable_data();
    void unreadableScoreRebuildsWholeTable();
    void missingNameIsBlankWithoutRecovery();
    void overlongNameIsCutWhenShownAndSaved();
    void namesRoundTrip_data();
    void namesRoundTrip();
    void fixedWidthCountsCodePoints_data();
    void fixedWidthCountsCodePoints();
    void scoresSurviveALocaleChange_data();
    void scoresSurviveALocaleChange();
    void scoresAreWrittenInTheUserLocale_data();
    void scoresAreWrittenInTheUserLocale();
    void clearedTableShowsBlankPlaces();
    void unwritableStoreIsReported();

    void place_data();
    void place();
    void recordEntersAtItsPlace();
    void twoRunningCopiesKeepBothRecords();
    void resultWithoutPlaceWritesNothing();

    void nicknames();
};

void TestRecords::storeIsNamedAfterTheExecutable()
{
    TemporaryStore store;
    QCOMPARE(RecordStore::applicationName(), QStringLiteral("tst_records"));
    QVERIFY(RecordStore().filePath().endsWith(QStringLiteral("/Tarvel/tst_records.conf")));
}

void TestRecords::keysCarryOneTrailingSpace()
{
    QCOMPARE(RecordStore::nameKey(0), QStringLiteral("User 0 "));
    QCOMPARE(RecordStore::scoreKey(19), QStringLiteral("Data 19 "));

    TemporaryStore store;
    TemporaryStore::writeTable({}, { 90, 80 });
    TemporaryStore::set(QStringLiteral("User 0"), QStringLiteral("Without space"));
    TemporaryStore::set(RecordStore::nameKey(0), QStringLiteral("With space"));
    RecordingDisplay display;
    RecordsTable table(display);
    table.LoadAndShowRecords();
    QCOMPARE(table.RecordNames[0], fixedWidth(QStringLiteral("With space")));
}

void TestRecords::firstStartWritesAndShowsDefaultTable()
{
    TemporaryStore store;
    RecordingDisplay display;
    RecordsTable table(display);
    table.LoadAndShowRecords();
    verifyDefaultTableStored();
    QCOMPARE(display.names + '|' + display.scores, defaultHall(0));
    QVERIFY(display.names.startsWith("1.  Quib                \r\r"));
    QVERIFY(display.scores.startsWith("20.0%\r\r"));

    table.HallOffset = HallOfShame;
    table.LoadAndShowRecords();
    QCOMPARE(display.names + '|' + display.scores, defaultHall(10));
    QVERIFY(display.names.endsWith("20.  Quib                \r\r"));
    QCOMPARE(display.failedSaves, 0);
}

void TestRecords::unreadableScoreRebuildsWholeTable_data()
{
    QTest::addColumn<QString>("stored"); // the text of score key 7; null: the key is missing

    QTest::newRow("missing key") << QString();
    QTest::newRow("empty") << QString("");
    QTest::newRow("letters") << QString("abc");
    QTest::newRow("not a number") << QString("nan");
    QTest::newRow("infinite") << QString("inf");
    QTest::newRow("too large for single precision") << QString("1e39");
    QTest::newRow("a group separator") << QString("1,234.5");
}

void TestRecords::unreadableScoreRebuildsWholeTable()
{
    QFETCH(QString, stored);

    TemporaryStore store;
    TemporaryStore::writeTable({}, { 90, 80, 70, 60, 50, 40, 30, 20, 10 });
    if (stored.isNull())
        TemporaryStore::remove(RecordStore::scoreKey(7));
    else
        TemporaryStore::set(RecordStore::scoreKey(7), stored);

    RecordingDisplay display;
    RecordsTable table(display);
    table.LoadAndShowRecords();
    verifyDefaultTableStored();
    QCOMPARE(display.names + '|' + display.scores, defaultHall(0));
}

void TestRecords::missingNameIsBlankWithoutRecovery()
{
    TemporaryStore store;
    TemporaryStore::writeTable({}, { 90, 80, 70, 60.5f });
    TemporaryStore::remove(RecordStore::nameKey(3));

    RecordingDisplay display;
    RecordsTable table(display);
    table.LoadAndShowRecords();
    QCOMPARE(display.names.split("\r\r").at(3), "4.  " + Blank);
    QCOMPARE(display.scores.split("\r\r").at(3), QStringLiteral("60.5%"));
    QCOMPARE(TemporaryStore::value(RecordStore::nameKey(0)), QStringLiteral("Entry 0"));
    QVERIFY(TemporaryStore::value(RecordStore::nameKey(3)).isEmpty());
}

void TestRecords::overlongNameIsCutWhenShownAndSaved()
{
    TemporaryStore store;
    const QString longName = QStringLiteral("abcdefghijklmnopqrstuvwxy");
    TemporaryStore::writeTable({ longName }, { 90 });
    RecordingDisplay display;
    RecordsTable table(display);
    table.LoadAndShowRecords();
    QVERIFY(display.names.startsWith("1.  abcdefghijklmnopqrst\r\r"));
    QCOMPARE(TemporaryStore::value(RecordStore::nameKey(0)), longName);
    QVERIFY(table.SaveRecords());
    QCOMPARE(TemporaryStore::value(RecordStore::nameKey(0)), longName.left(20));
}

void TestRecords::namesRoundTrip_data()
{
    QTest::addColumn<QString>("name");

    QTest::newRow("trailing spaces") << QStringLiteral("Ann");
    QTest::newRow("leading spaces") << QStringLiteral("  Bob");
    QTest::newRow("Cyrillic") << QStringLiteral("Вася Пупкин");
    QTest::newRow("quotes") << QStringLiteral("\"Q\" 'q'");
    QTest::newRow("INI specials") << QStringLiteral("a=b;c#d\\e[f]");
    QTest::newRow("comma") << QStringLiteral("Smith, John");
    QTest::newRow("at sign first") << QStringLiteral("@Variant(x)");
    QTest::newRow("emoji") << QStringLiteral("Knight \U0001F40E");
    QTest::newRow("blank") << QString();
}

void TestRecords::namesRoundTrip()
{
    QFETCH(QString, name);

    TemporaryStore store;
    RecordingDisplay display;
    RecordsTable table(display);
    table.LoadAndShowRecords();
    table.RecordNames[5] = fixedWidth(name);
    QVERIFY(table.SaveRecords());
    QCOMPARE(TemporaryStore::value(RecordStore::nameKey(5)), fixedWidth(name));

    RecordsTable reader(display);
    reader.LoadAndShowRecords();
    QCOMPARE(reader.RecordNames[5], fixedWidth(name));
    QVERIFY(display.names.contains("6.  " + fixedWidth(name) + "\r\r"));
}

void TestRecords::fixedWidthCountsCodePoints_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");

    const QString horse = QStringLiteral("\U0001F40E");
    QTest::newRow("empty") << QString() << Blank;
    QTest::newRow("short") << QStringLiteral("Quib") << Quib;
    QTest::newRow("exactly twenty") << QString(20, 'x') << QString(20, 'x');
    QTest::newRow("cut") << QString(25, 'x') << QString(20, 'x');
    QTest::newRow("emoji is one character") << QString(19, 'x') + horse << QString(19, 'x') + horse;
    QTest::newRow("emoji at the cut goes whole") << QString(20, 'x') + horse << QString(20, 'x');
    QTest::newRow("leading spaces stay") << QStringLiteral("  A") << QStringLiteral("  A                 ");
}

void TestRecords::fixedWidthCountsCodePoints()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    const QString name = fixedWidth(text);
    QCOMPARE(name, expected);
    QCOMPARE(name.toUcs4().size(), 20);
    QVERIFY(name.isValidUtf16());
}

void TestRecords::scoresSurviveALocaleChange_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("stored");

    for (const char *locale : { "en_US", "de_DE", "ru_RU", "C" }) {
        QTest::addRow("%s reads a point", locale) << locale << "40.625";
        QTest::addRow("%s reads a comma", locale) << locale << "40,625";
    }
}

void TestRecords::scoresSurviveALocaleChange()
{
    QFETCH(QString, locale);
    QFETCH(QString, stored);

    TemporaryStore store;
    TemporaryStore::writeTable({}, {});
    TemporaryStore::set(RecordStore::scoreKey(0), stored);
    QLocale::setDefault(QLocale(locale));
    RecordingDisplay display;
    RecordsTable table(display);
    table.LoadAndShowRecords();
    QCOMPARE(table.RecordScores[0], 40.625f);
    QCOMPARE(TemporaryStore::value(RecordStore::scoreKey(0)), stored);
}

void TestRecords::scoresAreWrittenInTheUserLocale_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<float>("score");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("shown");

    QTest::newRow("whole") << "C" << 20.0f << "20" << "20.0%";
    QTest::newRow("zero") << "C" << 0.0f << "0" << ".0%";
    QTest::newRow("fraction") << "C" << 35.9375f << "35.9375" << "35.9%";
    QTest::newRow("comma locale") << "de_DE" << 35.9375f << "35,9375" << "35,9%";
    QTest::newRow("whole board") << "ru_RU" << 100.0f << "100" << "100,0%";
    QTest::newRow("one square") << "en_US" << 1.5625f << "1.5625" << "1.6%";
}

void TestRecords::scoresAreWrittenInTheUserLocale()
{
    QFETCH(QString, locale);
    QFETCH(float, score);
    QFETCH(QString, stored);
    QFETCH(QString, shown);

    TemporaryStore store;
    QLocale::setDefault(QLocale(locale));
    RecordingDisplay display;
    RecordsTable table(display);
    table.LoadAndShowRecords();
    table.RecordScores[0] = score;
    QVERIFY(table.SaveRecords());
    QCOMPARE(TemporaryStore::value(RecordStore::scoreKey(0)), stored);
    table.LoadAndShowRecords();
    QCOMPARE(table.RecordScores[0], score);
    QCOMPARE(display.scores.section("\r\r", 0, 0), shown);
}

void TestRecords::clearedTableShowsBlankPlaces()
{
    TemporaryStore store;
    RecordingDisplay display;
    RecordsTable table(display);
    table.clearAll();
    QVERIFY(table.SaveRecords());
    for (int i = 0; i < RecordCount; ++i) {
        QCOMPARE(TemporaryStore::value(RecordStore::nameKey(i)), Blank);
        QCOMPARE(TemporaryStore::value(RecordStore::scoreKey(i)), QStringLiteral("0"));
    }
    for (quint8 offset : { HallOfFame, HallOfShame }) {
        table.HallOffset = offset;
        table.LoadAndShowRecords();
        QString names, scores;
        for (int i = offset; i < offset + 10; ++i) {
            names += QString::number(i + 1) + ".  " + Blank + "\r\r";
            scores += ".0%\r\r";
        }
        QCOMPARE(display.names, names);
        QCOMPARE(display.scores, scores);
    }
}

void TestRecords::unwritableStoreIsReported()
{
    TemporaryStore store;
    store.makeUnwritable();
    RecordingDisplay display;
    RecordsTable table(display);
    table.LoadAndShowRecords(); // the default table cannot be written back
    QCOMPARE(display.failedSaves, 1);
    QCOMPARE(display.shown, 1);
    QVERIFY(!table.SaveRecords());
    QCOMPARE(display.failedSaves, 2);
    QVERIFY(!table.enterRecord(QStringLiteral("Nobody"), 0.0f));
    QVERIFY(table.enterRecord(QStringLiteral("Somebody"), 50.0f));
    // Nothing could be read back either, so each entry first rebuilt the default table.
    QCOMPARE(display.failedSaves, 5);
    QVERIFY(!QFileInfo::exists(RecordStore().filePath()));
}

void TestRecords::place_data()
{
    QTest::addColumn<QList<float>>("scores");
    QTest::addColumn<float>("result");
    QTest::addColumn<int>("place");

    QList<float> sample { 62.5f, 50, 50, 37.5f };
    for (int i = 4; i < 20; ++i)
        sample.append(20 - i);
    QTest::newRow("ties go after") << sample << 50.0f << 3;
    QTest::newRow("above all") << sample << 75.0f << 0;
    QTest::newRow("equal to the last") << sample << 1.0f << -1;
    QTest::newRow("just above the last") << sample << 1.5625f << 19;
    QTest::newRow("after a clearing") << QList<float>(20, 0.0f) << 1.5625f << 0;
    QTest::newRow("nothing after a clearing") << QList<float>(20, 0.0f) << 0.0f << -1;
}

void TestRecords::place()
{
    QFETCH(QList<float>, scores);
    QFETCH(float, result);
    QFETCH(int, place);

    RecordingDisplay display;
    RecordsTable table(display);
    std::copy(scores.begin(), scores.end(), table.RecordScores);
    QCOMPARE(table.findPlace(result), place);
}

void TestRecords::recordEntersAtItsPlace()
{
    TemporaryStore store;
    QStringList names;
    for (int i = 0; i < 20; ++i)
        names << QStringLiteral("P%1").arg(i);
    QList<float> scores { 62.5f, 50, 50, 37.5f };
    for (int i = 4; i < 20; ++i)
        scores.append(20 - i);
    TemporaryStore::writeTable(names, scores);

    RecordingDisplay display;
    RecordsTable table(display);
    QVERIFY(table.enterRecord(QStringLiteral("New"), 50.0f));
    QCOMPARE(TemporaryStore::value(RecordStore::nameKey(2)), fixedWidth("P2"));
    QCOMPARE(TemporaryStore::value(RecordStore::nameKey(3)), fixedWidth("New"));
    QCOMPARE(TemporaryStore::value(RecordStore::scoreKey(3)), QStringLiteral("50"));
    QCOMPARE(TemporaryStore::value(RecordStore::nameKey(4)), fixedWidth("P3"));
    QCOMPARE(TemporaryStore::value(RecordStore::scoreKey(4)), QStringLiteral("37.5"));
    QCOMPARE(TemporaryStore::value(RecordStore::nameKey(19)), fixedWidth("P18"));
    QCOMPARE(table.HallOffset, HallOfFame);
}

void TestRecords::twoRunningCopiesKeepBothRecords()
{
    TemporaryStore store;
    RecordingDisplay firstDisplay, secondDisplay;
    RecordsTable first(firstDisplay), second(secondDisplay);
    first.LoadAndShowRecords();
    second.LoadAndShowRecords(); // both copies show the default table

    QVERIFY(first.enterRecord(QStringLiteral("First"), 50.0f));
    QVERIFY(second.enterRecord(QStringLiteral("Second"), 40.0f));
    QCOMPARE(TemporaryStore::value(RecordStore::nameKey(0)), fixedWidth("First"));
    QCOMPARE(TemporaryStore::value(RecordStore::nameKey(1)), fixedWidth("Second"));
    QCOMPARE(TemporaryStore::value(RecordStore::scoreKey(2)), QStringLiteral("20"));
    QCOMPARE(TemporaryStore::value(RecordStore::scoreKey(19)), QStringLiteral("3"));
}

void TestRecords::resultWithoutPlaceWritesNothing()
{
    TemporaryStore store;
    TemporaryStore::writeTable({}, QList<float>(20, 90.0f));
    const QDateTime written = QFileInfo(RecordStore().filePath()).lastModified();
    RecordingDisplay display;
    RecordsTable table(display);
    QVERIFY(!table.enterRecord(QStringLiteral("Late"), 90.0f));
    QCOMPARE(QFileInfo(RecordStore().filePath()).lastModified(), written);
    QCOMPARE(TemporaryStore::value(RecordStore::nameKey(19)), QStringLiteral("Entry 19"));
}

void TestRecords::nicknames()
{
    QSet<QString> seen;
    for (int i = 0; i < 2000 && seen.size() < 20; ++i) {
        const QString nickname = Imia();
        QVERIFY2(nickname.size() >= 4 && nickname.size() <= 17, qPrintable(nickname));
        QVERIFY2(QRegularExpression(QStringLiteral("^[A-Za-z0-9 .,'!?-]+$")).match(nickname).hasMatch(),
                 qPrintable(nickname));
        seen.insert(nickname);
    }
    QCOMPARE(seen.size(), 20);
}

QTEST_GUILESS_MAIN(TestRecords)
#include "tst_records.moc"
