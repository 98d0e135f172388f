// The end of a game on the real main window: the boxes, the name and the store.
#include "testwindow.h"
#include "colours.h"
#include "design.h"
#include "modalanswers.h"
#include "recordtext.h"
#include "storefixture.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {
const QString Ok = QStringLiteral("ОК");
const QString Cancel = QStringLiteral("Отмена");
const QString NamePrompt = QStringLiteral("Ваш результат попал в таблицу рекордов!\nВведите свое имя:");
const QString OfferStart = QStringLiteral("Если вы не говорите свое имя,\nя буду называть вас ");

// Eight squares into the corner (0, 0): a result of 12.5%.
const QList<QPoint> DeadEnd { { 1, 2 }, { 2, 0 }, { 0, 1 }, { 2, 2 }, { 1, 0 }, { 0, 2 }, { 2, 1 }, { 0, 0 } };

void playDeadEnd(TestWindow &window)
{
    window.start();
    for (QPoint cell : DeadEnd)
        window.pressSquare(cell);
}
}

class TestGameOver : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { DesignFont::mapToInstalledFonts(); }

    void typedNameEntersTheTable_data();
    void typedNameEntersTheTable();
    void noNameLeadsToANickname();
    void resultWithoutPlaceOnlyAnnounces();
    void recordInHallOfShameShowsAfterSwitch();
};

void TestGameOver::typedNameEntersTheTable_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("stored");

    QTest::newRow("Latin") << "Ann" << fixedWidth("Ann");
    QTest::newRow("Cyrillic") << "Вася" << fixedWidth("Вася");
    QTest::newRow("leading spaces kept") << "  Al" << QStringLiteral("  Al                ");
    QTest::newRow("25 characters cut to 20") << "abcdefghijklmnopqrstuvwxy" << "abcdefghijklmnopqrst";
}

void TestGameOver::typedNameEntersTheTable()
{
    QFETCH(QString, typed);
    QFETCH(QString, stored);

    TestWindow window;
    ModalAnswers answers;
    answers.then(ModalAnswers::press(Ok)).then(ModalAnswers::type(typed));
    playDeadEnd(window);
    QVERIFY(answers.allAnswered());

    QCOMPARE(answers.seen.size(), 2);
    const SeenBox over = answers.seen[0];
    QCOMPARE(over.title, QStringLiteral("Tarvel"));
    QCOMPARE(over.text, QStringLiteral("Игра окончена"));
    QCOMPARE(over.icon, QMessageBox::NoIcon);
    QCOMPARE(over.buttons, QStringList { Ok });
    const SeenBox prompt = answers.seen[1];
    QVERIFY(prompt.input);
    QCOMPARE(prompt.title, QStringLiteral("Tarvel"));
    QCOMPARE(prompt.text, NamePrompt);
    QVERIFY(prompt.buttons.contains(Ok) && prompt.buttons.contains(Cancel));

    // 12.5 beats the default 12 at place 9; the rest moves down.
    QCOMPARE(TemporaryStore::value(RecordStore::nameKey(8)), stored);
    QCOMPARE(TemporaryStore::value(RecordStore::scoreKey(8)), QStringLiteral("12.5"));
    QCOMPARE(TemporaryStore::value(RecordStore::scoreKey(9)), QStringLiteral("12"));
    QCOMPARE(TemporaryStore::value(RecordStore::scoreKey(19)), QStringLiteral("2"));
    QVERIFY(window.LblScore->text().contains("9.  " + stored + "\n"));
    QVERIFY(window.LblSco->text().contains(QStringLiteral("13.0%\n\n12.5%\n\n12.0%")));

    QCOMPARE(window.squareColour(QPoint(0, 0)), BoardColour::Red);
    QCOMPARE(window.game().state().Board[0][0], quint8(CellKnight));
    QCOMPARE(window.TxtScore->text(), QStringLiteral("12.5%"));
    QCOMPARE(window.TxtHod->text(), QStringLiteral("8"));
}

void TestGameOver::noNameLeadsToANickname()
{
    TestWindow window;
    ModalAnswers answers;
    answers.then(ModalAnswers::press(Ok))
        .then(ModalAnswers::press(Cancel))         // no name
        .then(ModalAnswers::press(Cancel))         // refuse the nickname
        .then(ModalAnswers::type(QStringLiteral("   "))) // spaces only
        .then(ModalAnswers::key(Qt::Key_Escape))   // Esc is Cancel too
        .then(ModalAnswers::press(Cancel))
        .then(ModalAnswers::press(Ok));            // take the nickname
    playDeadEnd(window);
    QVERIFY(answers.allAnswered());

    QCOMPARE(answers.seen.size(), 7);
    for (int i : { 1, 3, 5 }) {
        QVERIFY(answers.seen[i].input);
        QCOMPARE(answers.seen[i].text, NamePrompt);
    }
    for (int i : { 2, 4, 6 }) {
        const SeenBox offer = answers.seen[i];
        QCOMPARE(offer.title, QStringLiteral("Tarvel"));
        QCOMPARE(offer.icon, QMessageBox::Information);
        QCOMPARE(offer.defaultButton, Cancel);
        QVERIFY(offer.buttons.contains(Ok) && offer.buttons.contains(Cancel));
        QVERIFY(offer.text.startsWith(OfferStart));
        QCOMPARE(offer.text.size(), OfferStart.size() + 20);
    }
    const QString nickname = answers.seen[6].text.mid(OfferStart.size());
    QVERIFY(!isBlankName(nickname));
    QCOMPARE(TemporaryStore::value(RecordStore::nameKey(8)), nickname);
}

void TestGameOver::resultWithoutPlaceOnlyAnnounces()
{
    TestWindow window([](TemporaryStore &) { TemporaryStore::writeTable({}, QList<float>(20, 12.5f)); });
    const QString before = window.LblScore->text();
    const QDateTime written = QFileInfo(RecordStore().filePath()).lastModified();

    ModalAnswers answers;
    answers.then(ModalAnswers::press(Ok));
    playDeadEnd(window);
    QVERIFY(answers.allAnswered());
    QTest::qWait(50);
    QCOMPARE(answers.seen.size(), 1);
    QCOMPARE(QFileInfo(RecordStore().filePath()).lastModified(), written);
    QCOMPARE(window.LblScore->text(), before);
}

void TestGameOver::recordInHallOfShameShowsAfterSwitch()
{
    TestWindow window([](TemporaryStore &) {
        QList<float> scores(20, 10.0f);
        std::fill_n(scores.begin(), 15, 50.0f);
        TemporaryStore::writeTable({}, scores);
    });
    const QString fame = window.LblScore->text();

    ModalAnswers answers;
    answers.then(ModalAnswers::press(Ok)).then(ModalAnswers::type(QStringLiteral("Shame")));
    playDeadEnd(window);
    QVERIFY(answers.allAnswered());
    QCOMPARE(window.LblScore->text(), fame);
    QCOMPARE(window.records().HallOffset, HallOfFame);

    QTest::mouseClick(window.CmdZal, Qt::LeftButton);
    QVERIFY(window.LblScore->text().contains(QStringLiteral("16.  Shame               \n")));
}

QTEST_MAIN(TestGameOver)
#include "tst_gameover.moc"
