// The rules of the game, through Start, Clear and presses, without widgets.
#include "game.h"
#include "random.h"
#include "tour.h"

#include <QtTest>

namespace {
// a 688-pixel picture inside its 2-pixel border, in twips
constexpr float Cell = 10260 / 8.0;

// A picture row by row from the top, '/' between rows: '.' a square in its chessboard colour,
// K the knight (purple), r visited (red), b a target (blue), ' ' no board.
const QString Blank = QString("        /").repeated(8).chopped(1);

// The picture written as a chess position is: a digit for that many squares in their chessboard colour.
QString fen(QString picture)
{
    for (int n = 8; n > 0; --n)
        picture.replace(QString(n, '.'), QString::number(n));
    return picture;
}

// Keeps the picture and the two texts.
class RecordingView : public GameView
{
public:
    float pictureInnerWidth() const override { return 8 * Cell; }
    void fillBox(float x1, float y1, float x2, float y2, QRgb colour) override
    {
        const int column = qRound(x1 / Cell), row = qRound(y1 / Cell);
        QCOMPARE(QPoint(qRound(x2 / Cell), qRound(y2 / Cell)), QPoint(column + 1, row + 1));
        const QList<QRgb> colours { (column + row) % 2 ? 0xffffffu : 0, 0xff00ff, 0xff0000, 0xff };
        // '?' for a colour no square has
        picture[row * 9 + column] = "?.Krb"[colours.indexOf(colour & 0xffffff) + 1];
    }
    void erasePicture() override { picture = Blank; }
    void showMoveNumber(const QString &text) override { texts[0] = text; }
    void showScore(const QString &text) override { texts[1] = text; }
    void gameFinished() override { ++finished; }

    QString picture = Blank;
    QString texts[2];
    int finished = 0;
};

// The picture as the game's own query tells it.
QString queried(const Game &game)
{
    QString picture = Blank;
    for (int i = 0; i < 64; ++i)
        // in the order of SquareView
        picture[i / 8 * 9 + i % 8] = QString(" ..rKbr")[int(game.squareView(i % 8, i / 8))];
    return picture;
}

// "S" Start, "C" Clear, "34" / "M34" / "R34" a left / middle / right press on column 3, row 4,
// "@x,y" a left press at twips (x, y).
void play(Game &game, const QString &inputs)
{
    for (const QString &in : inputs.split(' ', Qt::SkipEmptyParts)) {
        if (in == "S" || in == "C")
            in == "S" ? game.start() : game.clear();
        else if (in[0] == '@')
            game.press(ButtonLeft, in.mid(1).section(',', 0, 0).toFloat(), in.section(',', 1).toFloat());
        else
            game.press(in[0] == 'M'       ? ButtonMiddle
                           : in[0] == 'R' ? ButtonRight
                                          : ButtonLeft,
                       (in.right(2)[0].digitValue() + 0.5f) * Cell, (in.right(2)[1].digitValue() + 0.5f) * Cell);
    }
}
const QString DeadEnd = "S 12 20 01 22 10 02 21 00";
}

class TestGame : public QObject
{
    Q_OBJECT

private slots:
    void init() { SharedRandom::seed(1); }

    void moves_data()
    {
        QTest::addColumn<QString>("inputs");
        QTest::addColumn<QString>("picture");
        // move number|fill percentage|MoveNumber|games finished|the last finished game's route
        QTest::addColumn<QString>("shown");

        const QString chess = "8/8/8/8/8/8/8/8";
        const QString knightOn34 = "8/8/2b1b3/1b3b2/3K4/1b3b2/2b1b3/8";
        const QString jumpedTo46 = "8/8/8/8/3r1b2/2b3b1/4K3/2b3b1";
        const QString cornered = "rrr5/r1r5/rrr5/8/8/8/8/8";
        QTest::newRow("a press before Start") << "34 R00" << Blank << "||0|0|";
        QTest::newRow("Start") << "S" << chess << "1|.0%|1|0|";
        QTest::newRow("first press anywhere") << "S 34" << knightOn34 << "2|1.6%|2|0|";
        QTest::newRow("a jump, middle button") << "S 34 M46" << jumpedTo46 << "3|3.1%|3|0|";
        QTest::newRow("fourth press, 6.25 % rounds up") << "S 34 46 67 55"
                                                        << "8/8/8/4b1b1/3r3b/5K2/3br2b/4b1r1"
                                                        << "5|6.3%|5|0|";
        QTest::newRow("on the knight, not a jump away") << "S 34 34 44 M00" << knightOn34 << "2|1.6%|2|0|";
        QTest::newRow("on a visited square a jump away") << "S 34 46 34" << jumpedTo46 << "3|3.1%|3|0|";
        QTest::newRow("the border beyond the board") << "S @10260,0"
                                                     << "8/8/8/8/8/8/7b/6b1"
                                                     << "1|.0%|1|0|";
        QTest::newRow("Clear") << "S 34 C 46" << Blank << "2|1.6%|2|0|";
        QTest::newRow("dead end, then presses") << DeadEnd + " 33 R33" << cornered << "8|12.5%|9|1|" + DeadEnd.mid(2);
        QTest::newRow("Start after a dead end") << DeadEnd + " S" << chess << "1|.0%|1|1|";
    }

    void moves()
    {
        QFETCH(QString, inputs);
        QFETCH(QString, picture);
        QFETCH(QString, shown);
        RecordingView view;
        Game game(view);
        play(game, inputs);
        QCOMPARE(fen(view.picture), picture);
        QCOMPARE(fen(queried(game)), picture);
        QString seen
            = QString("%1|%2|%3|%4|").arg(view.texts[0], view.texts[1]).arg(game.state().MoveNumber).arg(view.finished);
        for (QPoint square : game.finishedRoute())
            seen += QString("%1%2 ").arg(square.x()).arg(square.y());
        QCOMPARE(seen.trimmed(), shown);
    }

    // A whole tour from every square, played: 64 squares, each a knight's jump from the one before.
    void wholeTourFromEverySquare()
    {
        for (int i = 0; i < 64; ++i) {
            RecordingView view;
            Game game(view);
            game.start();
            for (QPoint square : openTour(QPoint(i % 8, i / 8)))
                play(game, QString("%1%2").arg(square.x()).arg(square.y()));
            QCOMPARE(view.texts[0] + view.texts[1] + QString::number(view.finished), "64100.0%1");
            QCOMPARE(game.finishedRoute()[0], QPoint(i % 8, i / 8));
        }
    }
};

QTEST_GUILESS_MAIN(TestGame)
#include "tst_game.moc"
