// The rules of the game, driven through Start, Clear and presses, without widgets.
#include "game.h"
#include "random.h"
#include "scoretext.h"

#include <QtTest>

namespace {
constexpr float InnerWidth = 10260; // a 688-pixel picture inside its 2-pixel border
constexpr float Cell = InnerWidth / 8;

// Keeps the colour of every square and the two texts.
class RecordingView : public GameView
{
public:
    RecordingView() { erasePicture(); }

    float pictureInnerWidth() const override { return InnerWidth; }
    void fillBox(float x1, float y1, float x2, float y2, QRgb colour) override
    {
        const int column = qRound(x1 / Cell), row = qRound(y1 / Cell);
        QCOMPARE(QPoint(qRound(x2 / Cell), qRound(y2 / Cell)), QPoint(column + 1, row + 1));
        colours[column][row] = colour & 0xffffff;
    }
    void erasePicture() override { std::fill(&colours[0][0], &colours[0][0] + 64, Erased); }
    void showMoveNumber(const QString &text) override { moveText = text; }
    void showScore(const QString &text) override { scoreText = text; }
    void gameFinished() override { ++finished; }

    // The board row by row, top first: '.' a square in its chessboard colour,
    // K the knight (purple), r visited (red), b a target (blue), ' ' erased.
    QString picture() const
    {
        QString text;
        for (int row = 0; row < 8; ++row) {
            for (int column = 0; column < 8; ++column) {
                const QRgb chess = (column + row) % 2 == 0 ? 0x000000 : 0xffffff;
                const QRgb c = colours[column][row];
                text += c == chess ? '.' : c == 0xff00ff ? 'K' : c == 0xff0000 ? 'r' : c == 0x0000ff ? 'b'
                    : c == Erased ? ' ' : '?';
            }
            text += row < 7 ? "/" : "";
        }
        return text;
    }

    static constexpr QRgb Erased = 0x123456;
    QRgb colours[8][8] = {};
    int finished = 0;
    QString moveText;
    QString scoreText;
};

const QString Chessboard = "......../......../......../......../......../......../......../........";
// A whole tour from the top-left corner, as (column, row) digits.
const QString Tour = "00 12 04 16 37 56 77 65 57 76 64 72 60 41 20 01 13 05 17 36 24 03 11 30 22 10 02 21 40 32 51 "
                     "70 62 74 66 47 26 07 15 27 06 14 35 43 55 67 75 63 71 50 31 23 44 25 46 34 53 45 33 52 73 54 "
                     "42 61";

// Plays "S" (Start), "C" (Clear), "L34" / "M34" / "R" (a left, middle or right
// press on column 3, row 4; R on no square) and "@x,y" (a left press at twips x, y).
void play(Game &game, const QString &inputs)
{
    const QStringList list = inputs.split(' ', Qt::SkipEmptyParts);
    for (const QString &input : list) {
        const auto at = [&](int i) { return (input[i].digitValue() + 0.5f) * Cell; };
        if (input == "S")
            game.start();
        else if (input == "C")
            game.clear();
        else if (input == "R")
            game.press(ButtonRight, -1, -1);
        else if (input[0] == '@')
            game.press(ButtonLeft, input.mid(1).section(',', 0, 0).toFloat(), input.section(',', 1).toFloat());
        else
            game.press(input[0] == 'M' ? ButtonMiddle : ButtonLeft, at(1), at(2));
    }
}
}

class TestGame : public QObject
{
    Q_OBJECT

private slots:
    void init() { SharedRandom::seed(1); }
    void moves_data();
    void moves();
    void rightPressJumpsToATarget();
    void scoreText_data();
    void scoreText();
};

void TestGame::moves_data()
{
    QTest::addColumn<QString>("inputs");
    QTest::addColumn<QString>("picture");
    QTest::addColumn<QString>("texts"); // move number | fill percentage
    QTest::addColumn<int>("moveNumber");
    QTest::addColumn<int>("finished");

    QTest::newRow("a press before Start") << "L34 R" << QString(71, ' ') << "|" << 0 << 0;
    QTest::newRow("Start") << "S" << Chessboard << "1|.0%" << 1 << 0;
    QTest::newRow("Start twice") << "S L34 S" << Chessboard << "1|.0%" << 1 << 0;
    QTest::newRow("first press anywhere")
        << "S L34" << "......../......../..b.b.../.b...b../...K..../.b...b../..b.b.../........" << "2|1.6%" << 2 << 0;
    QTest::newRow("a jump") << "S L34 M46"
                            << "......../......../......../......../...r.b../..b...b./....K.../..b...b." << "3|3.1%" << 3 << 0;
    QTest::newRow("fourth press rounds half up")
        << "S L34 L46 L67" << "......../......../......../......../...r..../.....b.b/....r.../......K." << "4|4.7%" << 4 << 0;
    QTest::newRow("on the knight") << "S L34 L34" << "......../......../..b.b.../.b...b../...K..../.b...b../..b.b.../........"
                                   << "2|1.6%" << 2 << 0;
    QTest::newRow("on a visited square a jump away")
        << "S L34 L46 L34" << "......../......../......../......../...r.b../..b...b./....K.../..b...b." << "3|3.1%" << 3 << 0;
    QTest::newRow("not a jump away") << "S L34 L44 M00"
                                     << "......../......../..b.b.../.b...b../...K..../.b...b../..b.b.../........"
                                     << "2|1.6%" << 2 << 0;
    QTest::newRow("last point of a square") << "S @1282.4,0" << "K......./..b...../.b....../......../......../......../......../........"
                                            << "2|1.6%" << 2 << 0;
    QTest::newRow("first point of the next square")
        << "S @1282.5,0" << ".K....../...b..../b.b...../......../......../......../......../........" << "2|1.6%" << 2 << 0;
    QTest::newRow("the border beyond the board")
        << "S @10260,0" << "......../......../......../......../......../......../.......b/......b." << "1|.0%" << 1 << 0;
    QTest::newRow("Clear") << "S L34 C L46" << QString(71, ' ') << "2|1.6%" << 2 << 0;
    QTest::newRow("dead end") << "S L12 L20 L01 L22 L10 L02 L21 L00 L33 R"
                              << "rrr...../r.r...../rrr...../......../......../......../......../........" << "8|12.5%" << 9 << 1;
    QTest::newRow("whole tour") << "S L" + QString(Tour).replace(" ", " L") << QString(71, 'r') << "64|100.0%" << 65 << 1;
}

void TestGame::moves()
{
    QFETCH(QString, inputs);
    QFETCH(QString, picture);
    QFETCH(QString, texts);
    QFETCH(int, moveNumber);
    QFETCH(int, finished);

    RecordingView view;
    Game game(view);
    play(game, inputs);
    QString expected = picture;
    for (int i = 8; i < expected.size(); i += 9)
        expected[i] = '/';
    QCOMPARE(view.picture(), expected);
    QCOMPARE(view.moveText + '|' + view.scoreText, texts);
    QCOMPARE(game.state().MoveNumber, moveNumber);
    QCOMPARE(view.finished, finished);
}

void TestGame::rightPressJumpsToATarget()
{
    RecordingView view;
    Game game(view);
    play(game, "S R"); // from no knight, the targets of the cell Start leaves behind
    const QPoint first(game.state().CellX, game.state().CellY);
    QVERIFY2(first == QPoint(6, 7) || first == QPoint(7, 6), qPrintable(view.picture()));
    for (int i = 0; i < 5; ++i) {
        const QString before = view.picture();
        play(game, "R");
        const QPoint knight(game.state().CellX, game.state().CellY);
        QCOMPARE(before[knight.y() * 9 + knight.x()], 'b');
        QCOMPARE(view.picture()[knight.y() * 9 + knight.x()], 'K');
    }
}

void TestGame::scoreText_data()
{
    QTest::addColumn<float>("percent");
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("text");

    QTest::newRow("zero") << 0.0f << "C" << ".0%";
    QTest::newRow("one square") << 1.5625f << "C" << "1.6%";
    QTest::newRow("half rounds up") << 6.25f << "C" << "6.3%";
    QTest::newRow("a quarter") << 0.25f << "C" << ".3%";
    QTest::newRow("whole board") << 100.0f << "C" << "100.0%";
    QTest::newRow("comma locale, zero") << 0.0f << "de_DE" << ",0%";
    QTest::newRow("comma locale") << 35.9375f << "ru_RU" << "35,9%";
    QTest::newRow("no group separator") << 1234.5f << "en_US" << "1234.5%";
}

void TestGame::scoreText()
{
    QFETCH(float, percent);
    QFETCH(QString, locale);
    QFETCH(QString, text);
    QCOMPARE(::scoreText(percent, QLocale(locale)), text);
}

QTEST_GUILESS_MAIN(TestGame)
#include "tst_game.moc"
