// The rules of the game, driven without widgets.
#include "colours.h"
#include "game.h"
#include "knightstour.h"
#include "random.h"
#include "scoretext.h"

#include <QtTest>

#include <cstring>

namespace {
constexpr float InnerWidth = 10260; // a 688-pixel picture inside its 2-pixel border
constexpr float Cell = InnerWidth / 8;

// Keeps what the rules show: the colour of every square and the two texts.
class RecordingView : public GameView
{
public:
    float pictureInnerWidth() const override { return InnerWidth; }
    void fillBox(float x1, float y1, float x2, float y2, QRgb colour) override
    {
        const int column = qRound(x1 / Cell), row = qRound(y1 / Cell);
        QCOMPARE(qRound(x2 / Cell), column + 1);
        QCOMPARE(qRound(y2 / Cell), row + 1);
        colours[column][row] = colour;
        ++fills;
    }
    void erasePicture() override
    {
        for (auto &column : colours)
            std::fill(std::begin(column), std::end(column), Erased);
        ++erases;
    }
    void showMoveNumber(const QString &text) override { moveText = text; }
    void showScore(const QString &text) override { scoreText = text; }
    void gameFinished() override { ++finished; }

    static constexpr QRgb Erased = 0x12345678;
    QRgb colours[8][8] = {};
    int fills = 0;
    int erases = 0;
    int finished = 0;
    QString moveText;
    QString scoreText;
};

QRgb chessColour(int column, int row)
{
    return (column + row) % 2 == 0 ? BoardColour::Black : BoardColour::White;
}

// Field by field: the struct has padding that memcmp would read.
bool sameState(const GameState &a, const GameState &b)
{
    return std::memcmp(a.Board, b.Board, sizeof a.Board) == 0 && a.CellX == b.CellX && a.CellY == b.CellY
        && a.CellSize == b.CellSize && a.FirstMove == b.FirstMove && a.MoveNumber == b.MoveNumber
        && a.FillPercent == b.FillPercent && a.TargetCount == b.TargetCount
        && std::memcmp(a.Targets, b.Targets, sizeof a.Targets) == 0 && a.SquareColor == b.SquareColor;
}

QList<QPoint> targetList(const GameState &s)
{
    QList<QPoint> list;
    for (int i = 0; i < s.TargetCount; ++i)
        list.append(QPoint(int(s.Targets[i][0]), int(s.Targets[i][1])));
    return list;
}

// A fresh chessboard with some squares visited, the knight on its square
// (none when off the board) and the current cell where a check starts from.
void setUpBoard(Game &game, RecordingView &view, QPoint knight, const QList<QPoint> &visited, QPoint current)
{
    game.start();
    GameState &s = game.state();
    for (QPoint v : visited) {
        s.Board[v.x()][v.y()] = CellVisited;
        view.colours[v.x()][v.y()] = BoardColour::Red;
    }
    if (isOnBoard(knight.x(), knight.y()))
        s.Board[knight.x()][knight.y()] = CellKnight;
    s.CellX = qint16(current.x());
    s.CellY = qint16(current.y());
}

void pressCell(Game &game, QPoint cell, qint16 button = ButtonLeft)
{
    game.press(button, (cell.x() + 0.5f) * Cell, (cell.y() + 0.5f) * Cell);
}
}

using Cells = QList<QPoint>;
Q_DECLARE_METATYPE(Cells)

class TestGame : public QObject
{
    Q_OBJECT

private slots:
    void init() { SharedRandom::seed(1); }

    void everythingIsZeroAtProgramStart();
    void pressBeforeStartDoesNothing();
    void startPaintsChessboardAndLeavesCellOffBoard();
    void startTwiceEqualsOnce();
    void clearEndsGameButKeepsFigures();

    void targets_data();
    void targets();
    void clearingModeRestoresOwnColours();

    void jumpTest_data();
    void jumpTest();

    void endOfGame_data();
    void endOfGame();

    void pressMapping_data();
    void pressMapping();

    void firstPressPlacesKnight();
    void firstRightPressLandsOnFirstTargetsFromOffBoard();
    void refusedPressChangesNothing_data();
    void refusedPressChangesNothing();
    void rightPressJumpsToATarget();
    void fourthPressShowsHalfRoundedUp();
    void completeTourEndsTheGame();
    void deadEndEndsTheGameAndRefusesEverything();

    void scoreText_data();
    void scoreText();
};

void TestGame::everythingIsZeroAtProgramStart()
{
    RecordingView view;
    Game game(view);
    const GameState zero {};
    QVERIFY(sameState(game.state(), zero));
}

void TestGame::pressBeforeStartDoesNothing()
{
    RecordingView view;
    Game game(view);
    pressCell(game, QPoint(3, 3));
    pressCell(game, QPoint(3, 3), ButtonRight);
    QCOMPARE(view.fills, 0);
    QVERIFY(sameState(game.state(), GameState {}));
    QVERIFY(view.moveText.isEmpty());
}

void TestGame::startPaintsChessboardAndLeavesCellOffBoard()
{
    RecordingView view;
    Game game(view);
    game.start();
    const GameState &s = game.state();
    QCOMPARE(s.CellSize, 1282.5f);
    QCOMPARE(s.CellX, qint16(8));
    QCOMPARE(s.CellY, qint16(8));
    QCOMPARE(s.FirstMove, FlagTrue);
    QCOMPARE(s.MoveNumber, 1);
    QCOMPARE(s.FillPercent, 0.0f);
    QCOMPARE(view.fills, 64);
    for (int c = 0; c < 8; ++c) {
        for (int r = 0; r < 8; ++r) {
            QCOMPARE(view.colours[c][r], chessColour(c, r));
            QCOMPARE(s.Board[c][r], quint8((c + r) % 2 == 0 ? CellDark : CellLight));
        }
    }
    QCOMPARE(view.moveText, QStringLiteral("1"));
    QCOMPARE(view.scoreText, QStringLiteral(".0%"));
}

void TestGame::startTwiceEqualsOnce()
{
    RecordingView once, twice;
    Game a(once), b(twice);
    a.start();
    b.start();
    pressCell(b, QPoint(2, 2));
    pressCell(b, QPoint(3, 4));
    b.start();
    // The target list is left alone by Start; compare the rest.
    GameState sa = a.state(), sb = b.state();
    sa.TargetCount = sb.TargetCount = 0;
    std::memset(sa.Targets, 0, sizeof sa.Targets);
    std::memset(sb.Targets, 0, sizeof sb.Targets);
    QVERIFY(sameState(sa, sb));
    QVERIFY(std::memcmp(once.colours, twice.colours, sizeof once.colours) == 0);
}

void TestGame::clearEndsGameButKeepsFigures()
{
    RecordingView view;
    Game game(view);
    game.start();
    pressCell(game, QPoint(0, 0));
    pressCell(game, QPoint(1, 2));
    const GameState before = game.state();
    game.clear();
    const GameState &s = game.state();
    QCOMPARE(view.erases, 1);
    QCOMPARE(s.CellSize, 0.0f);
    QCOMPARE(s.CellX, qint16(8));
    QCOMPARE(s.CellY, qint16(8));
    QCOMPARE(s.FirstMove, FlagFalse);
    QCOMPARE(s.MoveNumber, before.MoveNumber);
    QCOMPARE(s.FillPercent, before.FillPercent);
    QCOMPARE(s.TargetCount, before.TargetCount);
    QVERIFY(std::memcmp(s.Targets, before.Targets, sizeof s.Targets) == 0);
    for (auto &column : s.Board)
        for (quint8 code : column)
            QCOMPARE(code, quint8(CellDark));
    QCOMPARE(view.moveText, QStringLiteral("3"));
    QCOMPARE(view.scoreText, QStringLiteral("3.1%"));

    const int fills = view.fills;
    pressCell(game, QPoint(3, 3));
    QCOMPARE(view.fills, fills);
    game.start();
    QCOMPARE(view.moveText, QStringLiteral("1"));
}

void TestGame::targets_data()
{
    QTest::addColumn<QPoint>("cell");
    QTest::addColumn<Cells>("visited");
    QTest::addColumn<Cells>("expected");

    QTest::newRow("top-left corner") << QPoint(0, 0) << Cells {} << Cells { { 1, 2 }, { 2, 1 } };
    QTest::newRow("bottom-right corner") << QPoint(7, 7) << Cells {} << Cells { { 5, 6 }, { 6, 5 } };
    QTest::newRow("top-right corner") << QPoint(7, 0) << Cells {} << Cells { { 6, 2 }, { 5, 1 } };
    QTest::newRow("left edge") << QPoint(0, 4) << Cells {}
                               << Cells { { 1, 6 }, { 2, 5 }, { 2, 3 }, { 1, 2 } };
    QTest::newRow("centre, all free") << QPoint(3, 3) << Cells {}
                                      << Cells { { 4, 5 }, { 2, 5 }, { 5, 4 }, { 1, 4 },
                                                 { 1, 2 }, { 5, 2 }, { 4, 1 }, { 2, 1 } };
    QTest::newRow("centre, two visited") << QPoint(3, 3) << Cells { { 2, 5 }, { 1, 2 } }
                                         << Cells { { 4, 5 }, { 5, 4 }, { 1, 4 }, { 5, 2 }, { 4, 1 }, { 2, 1 } };
    QTest::newRow("off the board after Start") << QPoint(8, 8) << Cells {} << Cells { { 6, 7 }, { 7, 6 } };
    QTest::newRow("corner, both visited") << QPoint(0, 0) << Cells { { 1, 2 }, { 2, 1 } } << Cells {};
}

void TestGame::targets()
{
    QFETCH(QPoint, cell);
    QFETCH(Cells, visited);
    QFETCH(Cells, expected);

    RecordingView view;
    Game game(view);
    setUpBoard(game, view, cell, visited, cell);
    GameState &s = game.state();
    const GameState before = s;
    const int fills = view.fills;

    game.Proverka2(BoardColour::Blue, false);
    QCOMPARE(targetList(s), expected);
    QCOMPARE(view.fills - fills, expected.size());
    for (QPoint t : expected)
        QCOMPARE(view.colours[t.x()][t.y()], BoardColour::Blue);
    for (QPoint v : visited)
        QCOMPARE(view.colours[v.x()][v.y()], BoardColour::Red);
    QVERIFY(std::memcmp(s.Board, before.Board, sizeof s.Board) == 0);
    QCOMPARE(s.CellX, before.CellX);

    game.Proverka2(BoardColour::Blue, false);
    QCOMPARE(targetList(s), expected);
}

void TestGame::clearingModeRestoresOwnColours()
{
    RecordingView view;
    Game game(view);
    setUpBoard(game, view, QPoint(3, 3), {}, QPoint(3, 3));
    GameState &s = game.state();
    game.Proverka2(BoardColour::Blue, false);
    game.Proverka2(BoardColour::Black, true);
    for (int c = 0; c < 8; ++c)
        for (int r = 0; r < 8; ++r)
            QCOMPARE(view.colours[c][r], chessColour(c, r));
    QCOMPARE(s.TargetCount, qint16(8));
}

void TestGame::jumpTest_data()
{
    QTest::addColumn<QPoint>("knight");
    QTest::addColumn<QPoint>("chosen");
    QTest::addColumn<Cells>("visited");
    QTest::addColumn<bool>("legal");

    QTest::newRow("free square a jump away") << QPoint(3, 3) << QPoint(4, 5) << Cells {} << true;
    QTest::newRow("last jump of the table") << QPoint(3, 3) << QPoint(2, 1) << Cells {} << true;
    QTest::newRow("visited square a jump away") << QPoint(3, 3) << QPoint(4, 5) << Cells { { 4, 5 } } << false;
    QTest::newRow("the knight's own square") << QPoint(3, 3) << QPoint(3, 3) << Cells {} << false;
    QTest::newRow("two squares straight") << QPoint(3, 3) << QPoint(3, 5) << Cells {} << false;
    QTest::newRow("diagonal neighbour") << QPoint(3, 3) << QPoint(4, 4) << Cells {} << false;
    QTest::newRow("from a corner") << QPoint(1, 2) << QPoint(0, 0) << Cells {} << true;
    QTest::newRow("into a far corner") << QPoint(5, 6) << QPoint(7, 7) << Cells {} << true;
    QTest::newRow("no knight on the board") << QPoint(-1, -1) << QPoint(4, 5) << Cells {} << false;
}

void TestGame::jumpTest()
{
    QFETCH(QPoint, knight);
    QFETCH(QPoint, chosen);
    QFETCH(Cells, visited);
    QFETCH(bool, legal);

    RecordingView view;
    Game game(view);
    setUpBoard(game, view, knight, visited, chosen);
    GameState &s = game.state();
    const GameState before = s;
    const int fills = view.fills;

    QCOMPARE(game.Proverka(), legal);
    if (legal) {
        QCOMPARE(s.Board[knight.x()][knight.y()], quint8(CellVisited));
        QCOMPARE(view.colours[knight.x()][knight.y()], BoardColour::Red);
        QCOMPARE(s.Board[chosen.x()][chosen.y()], before.Board[chosen.x()][chosen.y()]);
        QCOMPARE(view.fills, fills + 1);
    } else {
        QVERIFY(sameState(s, before));
        QCOMPARE(view.fills, fills);
    }
}

void TestGame::endOfGame_data()
{
    QTest::addColumn<QPoint>("knight");
    QTest::addColumn<Cells>("visited");
    QTest::addColumn<bool>("over");

    QTest::newRow("corner, both targets visited") << QPoint(0, 0) << Cells { { 1, 2 }, { 2, 1 } } << true;
    QTest::newRow("corner, a dark target free") << QPoint(0, 0) << Cells { { 2, 1 } } << false;
    QTest::newRow("corner, a light target free") << QPoint(7, 0) << Cells { { 6, 2 } } << false;
    QTest::newRow("centre, all free") << QPoint(3, 3) << Cells {} << false;
    QTest::newRow("centre, all visited")
        << QPoint(3, 3) << Cells { { 4, 5 }, { 2, 5 }, { 5, 4 }, { 1, 4 }, { 1, 2 }, { 5, 2 }, { 4, 1 }, { 2, 1 } } << true;
}

void TestGame::endOfGame()
{
    QFETCH(QPoint, knight);
    QFETCH(Cells, visited);
    QFETCH(bool, over);

    RecordingView view;
    Game game(view);
    setUpBoard(game, view, knight, visited, knight);
    GameState &s = game.state();
    const GameState before = s;
    const int fills = view.fills;
    QCOMPARE(game.Sortir(), over);
    QVERIFY(sameState(s, before));
    QCOMPARE(view.fills, fills);
}

void TestGame::pressMapping_data()
{
    QTest::addColumn<float>("x");
    QTest::addColumn<int>("column"); // -1: ignored

    QTest::newRow("left edge") << 0.0f << 0;
    QTest::newRow("just left of a boundary") << 1282.4f << 0;
    QTest::newRow("on a boundary") << 1282.5f << 1;
    QTest::newRow("last point inside") << 10259.9f << 7;
    QTest::newRow("on the right border") << 10260.0f << -1;
    QTest::newRow("left of the picture") << -1.0f << -1;
}

void TestGame::pressMapping()
{
    QFETCH(float, x);
    QFETCH(int, column);

    RecordingView view;
    Game game(view);
    game.start();
    const GameState before = game.state();
    game.press(ButtonLeft, x, 100.0f);
    if (column < 0) {
        QCOMPARE(game.state().CellX, before.CellX);
        QCOMPARE(game.state().MoveNumber, 1);
        QCOMPARE(game.state().FirstMove, FlagTrue);
    } else {
        QCOMPARE(game.state().CellX, qint16(column));
        QCOMPARE(game.state().CellY, qint16(0));
        QCOMPARE(game.state().Board[column][0], quint8(CellKnight));
    }
}

void TestGame::firstPressPlacesKnight()
{
    RecordingView view;
    Game game(view);
    game.start();
    pressCell(game, QPoint(3, 4));
    const GameState &s = game.state();
    QCOMPARE(s.Board[3][4], quint8(CellKnight));
    QCOMPARE(view.colours[3][4], BoardColour::Purple);
    QCOMPARE(s.CellX, qint16(3));
    QCOMPARE(s.CellY, qint16(4));
    QCOMPARE(s.FirstMove, FlagFalse);
    QCOMPARE(s.MoveNumber, 2);
    const Cells targets { { 4, 6 }, { 2, 6 }, { 5, 5 }, { 1, 5 }, { 1, 3 }, { 5, 3 }, { 4, 2 }, { 2, 2 } };
    QCOMPARE(targetList(s), targets);
    for (QPoint t : targets)
        QCOMPARE(view.colours[t.x()][t.y()], BoardColour::Blue);
    QCOMPARE(view.colours[6][7], chessColour(6, 7));
    QCOMPARE(view.moveText, QStringLiteral("2"));
    QCOMPARE(view.scoreText, QStringLiteral("1.6%"));
}

void TestGame::firstRightPressLandsOnFirstTargetsFromOffBoard()
{
    QSet<QPoint> landed;
    for (unsigned seed = 1; seed <= 20; ++seed) {
        SharedRandom::seed(seed);
        RecordingView view;
        Game game(view);
        game.start();
        pressCell(game, QPoint(0, 0), ButtonRight);
        const QPoint knight(game.state().CellX, game.state().CellY);
        QVERIFY2(knight == QPoint(6, 7) || knight == QPoint(7, 6), "knight not on a target of (8, 8)");
        QCOMPARE(view.colours[knight.x()][knight.y()], BoardColour::Purple);
        QCOMPARE(view.colours[0][0], BoardColour::Black);
        landed.insert(knight);
    }
    QCOMPARE(landed.size(), 2);
}

void TestGame::refusedPressChangesNothing_data()
{
    QTest::addColumn<QPoint>("cell");
    QTest::addColumn<qint16>("button");

    QTest::newRow("the knight itself") << QPoint(1, 2) << qint16(ButtonLeft);
    QTest::newRow("a red square a jump away") << QPoint(0, 0) << qint16(ButtonLeft);
    QTest::newRow("not a jump away") << QPoint(5, 5) << qint16(ButtonLeft);
    QTest::newRow("middle button, not a jump away") << QPoint(7, 7) << qint16(ButtonMiddle);
}

void TestGame::refusedPressChangesNothing()
{
    QFETCH(QPoint, cell);
    QFETCH(qint16, button);

    RecordingView view;
    Game game(view);
    game.start();
    pressCell(game, QPoint(0, 0));
    pressCell(game, QPoint(1, 2));
    const GameState before = game.state();
    QRgb colours[8][8];
    std::memcpy(colours, view.colours, sizeof colours);
    const QString moveText = view.moveText, scoreText = view.scoreText;

    pressCell(game, cell, button);
    QVERIFY(sameState(game.state(), before));
    QVERIFY(std::memcmp(colours, view.colours, sizeof colours) == 0);
    QCOMPARE(view.moveText, moveText);
    QCOMPARE(view.scoreText, scoreText);
}

void TestGame::rightPressJumpsToATarget()
{
    RecordingView view;
    Game game(view);
    game.start();
    pressCell(game, QPoint(3, 3));
    const Cells blue = targetList(game.state());
    pressCell(game, QPoint(0, 0), ButtonRight);
    const QPoint knight(game.state().CellX, game.state().CellY);
    QVERIFY(blue.contains(knight));
    QCOMPARE(view.colours[3][3], BoardColour::Red);
    QCOMPARE(game.state().Board[3][3], quint8(CellVisited));
    QCOMPARE(view.colours[knight.x()][knight.y()], BoardColour::Purple);
    QCOMPARE(game.state().MoveNumber, 3);
}

void TestGame::fourthPressShowsHalfRoundedUp()
{
    RecordingView view;
    Game game(view);
    game.start();
    for (QPoint cell : { QPoint(0, 0), QPoint(1, 2), QPoint(2, 4), QPoint(3, 6) })
        pressCell(game, cell);
    QCOMPARE(view.moveText, QStringLiteral("5"));
    QCOMPARE(view.scoreText, QStringLiteral("6.3%"));
}

void TestGame::completeTourEndsTheGame()
{
    const QList<QPoint> tour = knightsTour();
    QCOMPARE(tour.size(), 64);

    RecordingView view;
    Game game(view);
    game.start();
    for (int i = 0; i < tour.size(); ++i) {
        pressCell(game, tour[i]);
        QCOMPARE(game.state().MoveNumber, i + 2);
        int occupied = 0;
        for (auto &column : game.state().Board)
            for (quint8 code : column)
                occupied += code == CellKnight || code == CellVisited;
        QCOMPARE(occupied, i + 1);
        QCOMPARE(view.finished, i == 63 ? 1 : 0);
    }
    const GameState &s = game.state();
    QCOMPARE(s.MoveNumber, 65);
    QCOMPARE(s.FillPercent, 100.0f);
    QCOMPARE(view.moveText, QStringLiteral("64"));
    QCOMPARE(view.scoreText, QStringLiteral("100.0%"));
    const QPoint last = tour.last();
    QCOMPARE(view.colours[last.x()][last.y()], BoardColour::Red);
    QCOMPARE(s.Board[last.x()][last.y()], quint8(CellKnight));
    for (int c = 0; c < 8; ++c)
        for (int r = 0; r < 8; ++r)
            QCOMPARE(view.colours[c][r], BoardColour::Red);
}

void TestGame::deadEndEndsTheGameAndRefusesEverything()
{
    RecordingView view;
    Game game(view);
    game.start();
    // A walk that ends in the corner (0, 0) with both of its jumps used up.
    pressCell(game, QPoint(1, 2));
    pressCell(game, QPoint(2, 0));
    pressCell(game, QPoint(0, 1));
    pressCell(game, QPoint(2, 2));
    pressCell(game, QPoint(1, 0));
    pressCell(game, QPoint(0, 2));
    pressCell(game, QPoint(2, 1));
    pressCell(game, QPoint(0, 0));
    QCOMPARE(view.finished, 1);
    QCOMPARE(game.state().MoveNumber, 9);
    QCOMPARE(view.scoreText, QStringLiteral("12.5%"));
    QCOMPARE(view.moveText, QStringLiteral("8"));
    QCOMPARE(view.colours[0][0], BoardColour::Red);

    const GameState before = game.state();
    for (int c = 0; c < 8; ++c)
        pressCell(game, QPoint(c, 7 - c), c % 2 ? ButtonRight : ButtonLeft);
    QVERIFY(sameState(game.state(), before));
    QCOMPARE(view.finished, 1);
}

void TestGame::scoreText_data()
{
    QTest::addColumn<float>("percent");
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("expected");

    QTest::newRow("zero") << 0.0f << "C" << ".0%";
    QTest::newRow("one square") << 1.5625f << "C" << "1.6%";
    QTest::newRow("half rounds up") << 6.25f << "C" << "6.3%";
    QTest::newRow("a quarter") << 0.25f << "C" << ".3%";
    QTest::newRow("whole board") << 100.0f << "C" << "100.0%";
    QTest::newRow("seven digits") << 35.9375f << "C" << "35.9%";
    QTest::newRow("comma locale, zero") << 0.0f << "de_DE" << ",0%";
    QTest::newRow("comma locale") << 1.5625f << "ru_RU" << "1,6%";
    QTest::newRow("no group separator") << 1234.5f << "en_US" << "1234.5%";
}

void TestGame::scoreText()
{
    QFETCH(float, percent);
    QFETCH(QString, locale);
    QFETCH(QString, expected);
    QCOMPARE(::scoreText(percent, QLocale(locale)), expected);
}

QTEST_GUILESS_MAIN(TestGame)
#include "tst_game.moc"
