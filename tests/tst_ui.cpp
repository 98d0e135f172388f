// The windows, driven as a player would: the main window and its board, the boxes of a finished
// game, the password dialog and the information window.
#include "design.h"
#include "frminfo.h"
#include "frmpass.h"
#include "random.h"
#include "routeoverlay.h"
#include "russiantexts.h"
#include "testkit.h"
#include "tour.h"
#include "tourloss.h"

#include <private/qguiapplication_p.h>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformbackingstore.h>
#include <qpa/qplatformintegration.h>

namespace {
using A = ModalAnswers;
const QString Ok = "ОК", Cancel = "Отмена";
// 12.5 %: place 9 of the default table
const QString DeadEnd = "S 12 20 01 22 10 02 21 00";
// The keys of the board; the first eight move the cursor, by one square or to an edge.
const QStringList Keys { "Left", "Right",  "Up",    "Down",   "Home",       "End",
                         "PgUp", "PgDown", "Space", "Return", "Shift+Space" };
const QPoint Moves[] { { -1, 0 }, { 1, 0 }, { 0, -1 }, { 0, 1 }, { -8, 0 }, { 8, 0 }, { 0, -8 }, { 0, 8 } };

// How the window and the model below tell what a player sees and hears, one line each: the texts; every square's
// colour ('d' / 'l' free dark / light, a8 dark; K purple, r red, b blue; 'o' after it for the cursor's ring); what a
// screen reader hears of each; the board's name and description.

// A long text by the start of its MD5 sum.
QString md5(const QString &text)
{
    return QCryptographicHash::hash(text.toUtf8(), QCryptographicHash::Md5).toHex().left(8);
}

// A plain account of the rules and of what a player sees, written apart from the game: each square (' ' no board,
// '.' free, 'r' visited, 'K' the knight), the route, the blue marks, the cursor and the showing after a game.
struct Model
{
    QString board = QString(64, ' '), texts = "|";
    QList<QPoint> route, finished;
    QPoint cursor { -1, -1 };
    bool over = false, marked = false; // blue marks: from the first press after Start
    int showing = 0; // 1 the player's route, 2 a whole tour, 3 where the whole tour was lost
    QList<QPoint> lost; // the program's answer there, a tour after its first `kept` squares
    int kept = 0;

    QChar &at(QPoint s) { return board[s.y() * 8 + s.x()]; }
    QPoint knight() const { return route.isEmpty() ? QPoint(-1, -1) : route.last(); }
    // The free squares a jump from the knight, or from (8, 8) before its first square.
    QList<QPoint> targets()
    {
        QList<QPoint> found;
        for (int i = 0; i < 64 && !over; ++i) {
            const QPoint s(i % 8, i / 8), d = s - (route.isEmpty() ? QPoint(8, 8) : knight());
            if (at(s) == '.' && std::abs(d.x() * d.y()) == 2)
                found << s;
        }
        return found;
    }
    void start() { board.fill('.'), route.clear(), finished.clear(), over = marked = false, texts = "1|.0%"; }
    bool press(QPoint s)
    {
        marked = marked || board[0] != ' ';
        if (board[0] == ' ' || !QRect(0, 0, 8, 8).contains(s) || (!route.isEmpty() && !targets().contains(s)))
            return false;
        if (!route.isEmpty())
            at(knight()) = 'r';
        at(s) = 'K', route << s;
        over = targets().isEmpty();
        // one decimal, halves away from zero, no leading zero
        const long tenths = std::lround(route.size() * 1000 / 64.0);
        texts = (over ? texts.section('|', 0, 0) : QString::number(route.size() + 1)) + '|'
            + (tenths < 10 ? "" : QString::number(tenths / 10)) + '.' + QString::number(tenths % 10) + '%';
        finished = over ? route : finished;
        return true;
    }
    // Whether `tour` is a game of all 64 squares by the model's rules, and begins with `beginning`.
    static bool isTourAfter(const QList<QPoint> &tour, const QList<QPoint> &beginning)
    {
        Model m;
        m.start();
        bool played = tour.size() == 64 && tour.first(beginning.size()) == beginning;
        for (QPoint s : tour)
            played = played && m.press(s);
        return played;
    }
    // Follows an input as TestWindow::play reads it; `chosen` is the knight's square after it, where the game draws
    // the jump.
    void play(const QString &in, QPoint chosen)
    {
        const QString cell = QString(in).remove(QRegularExpression("^[MR]|[-+>]$"));
        const bool game = board[0] != ' ', shown = cursor.x() >= 0, right = in[0] == 'R' && in.size() == 3,
                   drawn = right || in == "Shift+Space";
        const QPoint before = knight();
        if (in == "S" || in == "C") {
            in == "S" ? start() : void(board.fill(' ')), route.clear();
            cursor = { -1, -1 }, showing = 0;
        } else if (cell.size() == 2 && cell[0].isDigit()) {
            const QPoint s = QPoint(cell[0].digitValue(), cell[1].digitValue()) + QPoint(1, 1) * in.endsWith('>');
            showing = in[0].isDigit() ? 0 : showing;
            press(right && chosen != before ? chosen : s), cursor = { -1, -1 };
        } else if (game && shown && Keys.indexOf(in) >= 8) {
            showing = drawn ? showing : 0;
            cursor = press(drawn ? chosen : cursor) ? knight() : cursor;
        } else if (game && Keys.indexOf(in) >= 0) {
            // a hidden cursor appears at the knight (a8 before it) without moving
            QPoint c = shown ? cursor : route.isEmpty() ? QPoint(0, 0) : knight();
            c += Keys.indexOf(in) < 8 ? Moves[Keys.indexOf(in)] * (shown || Keys.indexOf(in) >= 4) : QPoint();
            cursor = QPoint(qBound(0, c.x(), 7), qBound(0, c.y(), 7));
        }
        // the game draws a jump whenever there is one
        if (drawn && game && (shown || right) && knight() == before && !targets().isEmpty())
            texts = "no jump drawn";
    }
    // The squares numbered over the board, none where the whole tour is not one, or does not keep the player's
    // moves up to one that a tour cannot follow.
    QList<QPoint> numbered() const
    {
        const QList<QPoint> tour = showing == 2 ? openTour(finished[0]) : lost;
        if (showing == 3 && (kept >= finished.size() || !isTourAfter(tour, finished.first(kept))))
            return {};
        return showing >= 2 && isTourAfter(tour, { finished[0] }) ? tour : showing == 1 ? finished : QList<QPoint>();
    }
    QChar colour(QPoint s)
    {
        if (showing == 3 && s.y() == 7) // under the line that says where the tour was lost
            return (s.x() + s.y()) % 2 ? ' ' : 'd';
        if (showing >= 2 || at(s) == '.')
            return showing < 2 && marked && targets().contains(s) ? 'b' : (s.x() + s.y()) % 2 ? 'l' : 'd';
        return at(s) == 'K' && over ? 'r' : at(s);
    }
    static QString name(QPoint s) { return QChar('a' + s.x()) + QString::number(8 - s.y()); }
    QString spoken(QPoint s, const QList<QPoint> &shown)
    {
        const QMap<QChar, QString> states { { 'K', "конь" }, { 'r', "посещена" }, { 'b', "возможный ход" } };
        const int n = int(shown.indexOf(s)) + 1;
        if (n)
            return name(s) + ", ход " + QString::number(n)
                + (showing == 2                   ? " из 64"
                       : showing == 3 && n > kept ? ", продолжение"
                                                  : "");
        return name(s) + (at(s) == ' ' ? "" : ", " + states.value(colour(s), "свободна"));
    }
    // As look() tells it, 1, 2 and 10 drawn in more ink in turn on the player's route of ten moves or more.
    QString expected()
    {
        const QList<QPoint> shown = numbered();
        QString squares, names;
        QStringList route;
        for (int i = 0; i < 64; ++i) {
            const QPoint s(i % 8, i / 8);
            squares += colour(s) + QString(s == cursor ? "o" : "") + (i % 8 == 7 ? "/" : "");
            names += spoken(s, shown) + ';', route << (i < shown.size() ? name(shown[i]) : "");
        }
        route.removeAll("");
        const QString lost
            = QString("Ход %1 (%2) сделал полный обход невозможным. До него обход ещё был возможен — вот "
                      "продолжение. Ваш путь: %3. Продолжение: %4.")
                  .arg(kept + 1)
                  .arg(name(finished.value(kept)), route.mid(0, kept).join(", "), route.mid(kept).join(", "));
        return QStringList { texts, squares, names,
                             (board[0] == ' ' ? "Доска. Нажмите «Старт», чтобы начать игру."
                                              : "Доска, ход " + QString(texts).replace('|', ", заполнено "))
                                 + '\n' + QStringList { "", "Ваш путь: ", "Полный обход: ", lost }[showing]
                                 + (showing == 3 ? "" : route.join(", "))
                                 + (showing == 1 && finished.size() >= 10 ? " digits ok"
                                        : showing == 3                    ? " styles ok"
                                                                          : "") }
            .join('\n');
    }
};

// Whether some game of all 64 squares goes on from the model's, by trying every jump.
bool continues(Model m)
{
    for (QPoint s : m.targets()) {
        Model next = m;
        if (next.press(s) && continues(next))
            return true;
    }
    return m.route.size() == 64;
}

// What the window shows and says, as an account: the screen's colours, the name of the square a screen reader
// finds under each square's centre, '!' after it where its rectangle is not that square on the screen; and
// whether the numbers 1, 2 and 10 drawn on the `route` take more ink in turn; or, after its first `kept` squares,
// whether only the numbers of the continuation are drawn in yellow.
QString look(TestWindow &w, const QList<QPoint> &route, int kept = 0)
{
    const QImage screen = w.backingStore()->handle()->toImage();
    const auto pixel = [&](QPoint p) { return screen.pixel(w.Pct->mapTo(&w, p) * w.devicePixelRatio()) & 0xffffff; };
    const QMap<QRgb, QChar> colours {
        { 0, 'd' }, { 0xffffff, 'l' }, { 0xff00ff, 'K' }, { 0xff0000, 'r' }, { 0xff, 'b' }
    };
    QAccessibleInterface *board = QAccessible::queryAccessibleInterface(w.Pct);
    // pixels of the square unlike its colour (or of `colour`), between the ring and the quarters above and below
    const auto ink = [&](QPoint s, QRgb colour = 0) {
        const QPoint first = w.at(s.x(), s.y(), 1), last = w.at(s.x(), s.y(), -1), quarter = (last - first) / 4;
        int count = 0;
        for (int x = first.x() + 5; x < last.x() - 5; ++x)
            for (int y = first.y() + quarter.y() + 2; y < last.y() - quarter.y() - 2; ++y)
                count += colour ? pixel(QPoint(x, y)) == colour : pixel(QPoint(x, y)) != pixel(first + quarter);
        return count;
    };
    QString squares, names;
    int yellow[2] = {};
    for (int i = 0; i < 64; ++i) {
        const QPoint first = w.at(i % 8, i / 8, 1), last = w.at(i % 8, i / 8, -1), quarter = (last - first) / 4;
        const bool ring
            = pixel(first + QPoint(1, quarter.y())) == 0xffffff && pixel(first + QPoint(3, quarter.y())) == 0;
        squares += colours.value(pixel(first + quarter), ' ') + QString(ring ? "o" : "") + (i % 8 == 7 ? "/" : "");
        const QPoint centre = w.Pct->mapToGlobal(w.at(i % 8, i / 8));
        const QAccessibleInterface *found = board->childAt(centre.x(), centre.y());
        names += !found ? "none;"
                        : found->text(QAccessible::Name)
                + (found->rect() == QRect(w.Pct->mapToGlobal(first), w.Pct->mapToGlobal(last)) ? ";" : "!;");
        if (kept && i < route.size())
            yellow[i >= kept] += ink(route[i], 0xffd040);
    }
    return QStringList {
        QString("%1|%2").arg(w.TxtHod ? w.TxtHod->text() : "", w.TxtScore ? w.TxtScore->text() : ""), squares, names,
        board->text(QAccessible::Name) + '\n' + board->text(QAccessible::Description)
            + (!kept && route.size() >= 10 && ink(route[0]) < ink(route[1]) && ink(route[1]) < ink(route[9])
                   ? " digits ok"
                   : "")
            + (!yellow[0] && yellow[1] ? " styles ok" : "")
    }
        .join('\n');
}
}

class TestUi : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        DesignFont::mapToInstalledFonts();
        installRussianQtTexts();
        // as when a screen reader runs
        QGuiApplicationPrivate::platformIntegration()->accessibility()->setActive(true);
    }

    void mainWindowAsDesigned()
    {
        TestWindow w;
        // as large a square as the height allows, the panel and the author's line 240 twips beyond it
        const int side = w.screen()->availableGeometry().height() - 80;
        QCOMPARE(QList<QRect>({ w.Pct->geometry(), QRect(w.FrCtrl->pos(), w.LblAvtor->pos()) }),
                 QList<QRect>({ QRect(8, 16, side, side), QRect(QPoint(side + 24, 8), QPoint(16, side + 32)) }));
        // as a screen reader finds the control panel (Orca tells the window's and the board's roles)
        QCOMPARE(QAccessible::queryAccessibleInterface(w.FrCtrl)->role(), QAccessible::Grouping);
        // the tab order from the board
        QString controls;
        for (int i = 0; i < 9; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QWidget *focused = QApplication::focusWidget();
            controls += focused->property("text").toString() + '|';
        }
        QCOMPARE(controls, "Старт|Очистка|||Удал. рекорды|Залы|Выход|Инфо||");
        // Enter clicks the focused button, and only that: the halls in turn; and the fonts that stand for the
        // design's Arial and MS Sans Serif
        w.CmdZal->setFocus();
        QString halls;
        for (int i = 0; i < 2; ++i)
            QTest::keyClick(w.CmdZal, Qt::Key_Return), halls += w.LblZal->text() + w.LblScore->text().left(5);
        QCOMPARE(w.Label1[0]->text() + w.Label1[1]->text() + halls + QString::number(w.isVisible())
                     + QFontInfo(w.LblScore->font()).family() + QFontInfo(w.CmdGen->font()).family(),
                 "Номер ходаЗаполненоЗал позора11.  Зал славы1.  Q1Liberation SansDejaVu Sans");
        // the information window, one however often asked for, and its rules
        QTest::mouseClick(w.CmdVer, Qt::LeftButton);
        FrmInfo *info = w.infoWindow();
        QVERIFY(QTest::qWaitForWindowExposed(info) && info->size() == QSize(312, 374));
        QCOMPARE(info->windowTitle() + info->CmdOK->text() + info->Lbl1->text() + info->Lbl3->text()
                     + md5(info->Lbl2->text()),
                 "ИнфоОкейTarvel 3.2Сделано командой разработчиков Tarvel.98bf5d3f");
        QTest::mouseClick(w.CmdVer, Qt::LeftButton);
        QCOMPARE(w.infoWindow(), info);
        // Окей closes it
        QTest::mouseClick(info->CmdOK, Qt::LeftButton);
        QTRY_VERIFY(!w.infoWindow() || !w.infoWindow()->isVisible());
    }

    // A player's actions drawn at random from a seed, on either screen, each compared with the model.
    void played_data()
    {
        QTest::addColumn<int>("seed");
        for (int seed = 1; seed <= 4; ++seed)
            QTest::addRow("seed %d", seed) << seed;
    }

    void played()
    {
        QFETCH(int, seed);
        QRandomGenerator random(seed);
        SharedRandom::seed(seed);
        TestWindow w;
        QScreen *screen = QGuiApplication::screens()[seed % 2];
        w.move(screen->geometry().topLeft());
        QTRY_COMPARE(w.devicePixelRatio(), screen->devicePixelRatio());
        A answers(QStringList(500, Ok));
        const QSize full = w.Pct->size();
        Model m;
        for (int step = 0; step < 300; ++step) {
            // once a game is over, often what follows it; a game mostly goes on to its end
            int roll = int(m.over && random.bounded(2) ? 50 + random.bounded(10) : random.bounded(100));
            roll = roll >= 85 && m.board[0] != ' ' && !m.over && random.bounded(8) ? 0 : roll;
            const QList<QPoint> targets = m.targets();
            const QPoint s = roll < 40 && !targets.isEmpty() ? targets[random.bounded(int(targets.size()))]
                                                             : QPoint(random.bounded(8), random.bounded(8));
            // the last jump of a game, as often by a right press as by a left one
            bool last = !targets.isEmpty();
            for (QPoint t : targets) {
                Model after = m;
                last = last && after.press(t) && after.over;
            }
            roll = last && roll < 50 && roll % 2 ? 50 : roll;
            const QString cell = QString("%1%2").arg(s.x()).arg(s.y());
            const QString in = roll < 50 ? ((roll % 5 ? "" : "M") + cell + "+- >"[roll % 4]).trimmed()
                : roll < 58              ? 'R' + cell
                : roll < 60              ? QString(roll % 2 ? "Menu" : "Shift+F10")
                : roll < 85              ? Keys[random.bounded(int(Keys.size()))]
                : roll < 97              ? "S"
                                         : "C";
            // a right press or the menu key opens the menu while a finished game is on offer
            const QPoint menuAt = m.finished.isEmpty() || roll < 50 || roll >= 60 ? QPoint(-1, -1)
                : roll < 58                                                       ? w.at(s.x(), s.y())
                : m.cursor.x() < 0                                                ? w.Pct->contentsRect().center()
                                                                                  : w.at(m.cursor.x(), m.cursor.y());
            w.play(in);
            m.play(in, w.game().knightSquare());
            // as when the compositor gives the window another space
            if (roll % 10 == 1)
                w.Pct->resize(w.Pct->size() == full ? full * 3 / 4 : full);
            auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
            QCOMPARE(menu != nullptr, menuAt.x() >= 0);
            if (menu) {
                // at the point, unless the screen's edge moves it (Qt 6.8's offscreen platform misplaces popups on
                // its second, double-scale screen)
                const QPoint at = w.Pct->mapToGlobal(menuAt);
                QVERIFY(w.devicePixelRatio() > 1
                        || (screen->geometry().contains(QRect(at, menu->size()))
                                ? (menu->pos() - at).manhattanLength() <= 2
                                : menu->geometry().adjusted(-2, -2, 2, 2).contains(at)));
                QString enabled, items;
                for (QAction *item : menu->actions())
                    enabled += item->isEnabled() ? '1' : '0', items += item->text() + '|';
                QCOMPARE(items, "Показать мой путь|Показать полный обход|Где потерян обход|Скрыть|");
                QCOMPARE(enabled,
                         QString("%1%2%3%4")
                             .arg(m.showing != 1)
                             .arg(m.showing != 2)
                             .arg(m.showing != 3 && m.finished.size() < 64)
                             .arg(m.showing != 0));
                const int chosen = random.bounded(5);
                // now and then Start at once, while the search runs: nothing it finds shows then
                if (chosen == 2 && enabled[2] == '1' && random.bounded(3) == 0) {
                    menu->actions()[2]->trigger(), menu->close(), w.play("S");
                    m.play("S", {});
                } else if (chosen < 4 && enabled[chosen] == '1') {
                    menu->actions()[chosen]->trigger();
                    m.showing = (chosen + 1) % 4;
                    // the search runs apart; its answer is checked as a tour the model can tell
                    QTRY_VERIFY(chosen != 2 || w.Pct->overlay()->kind() == RouteOverlay::LostTour);
                    m.lost = w.Pct->overlay()->route(), m.kept = m.showing == 3 ? w.Pct->overlay()->keptMoves() : 0;
                    // a key completes a tour being laid out at once
                    w.play(chosen == 1 || chosen == 2 ? "Left" : "");
                }
                menu->close();
            }
            QTRY_COMPARE(in + ' ' + look(w, QList<QList<QPoint>> { {}, m.finished, {}, m.lost }[m.showing], m.kept),
                         in + ' ' + m.expected());
        }
    }

    // Where a game lost its whole tour: games of random jumps from a seed, some after a whole tour's beginning
    // (their answer lies near the end, where trying every jump can check it), one stopped (-1).
    void tourLost_data()
    {
        QTest::addColumn<int>("seed");
        QTest::addColumn<int>("tourMoves");
        for (int seed = 1; seed <= 30; ++seed)
            QTest::addRow("seed %d", seed) << seed << (seed % 3 ? 46 + seed % 17 : 0);
        QTest::newRow("stopped") << 3 << -1;
    }

    void tourLost()
    {
        QFETCH(int, seed);
        QFETCH(int, tourMoves);
        QRandomGenerator random(seed);
        Model m, after;
        m.start(), after.start();
        for (QPoint s : openTour(QPoint(random.bounded(8), random.bounded(8))).first(qMax(1, tourMoves)))
            m.press(s);
        while (!m.over)
            m.press(m.targets()[random.bounded(int(m.targets().size()))]);
        const TourLoss loss = whereTourWasLost(m.route, [tourMoves] { return tourMoves < 0; });
        QCOMPARE(loss.tour.isEmpty(), tourMoves < 0);
        if (tourMoves < 0)
            return;
        QVERIFY(Model::isTourAfter(loss.tour, m.route.first(loss.keptMoves)) && loss.proved);
        for (QPoint s : m.route.mid(0, loss.keptMoves + 1))
            after.press(s);
        QVERIFY(loss.keptMoves == 64 || (loss.keptMoves >= tourMoves && (tourMoves == 0 || !continues(after))));
    }

    // The answers to the boxes of a finished game at 12.5 % (place 9 of the default table), the boxes shown, and a
    // place then stored ("*": the nickname last offered).
    void finishedGame_data()
    {
        QTest::addColumn<QStringList>("answers");
        QTest::addColumn<QString>("boxes");
        QTest::addColumn<QString>("stored");
        QTest::newRow("spaces, line breaks, a format character")
            << QStringList { Ok, "=  Вася\nLee\u2028Ann\u200B" } << "over name" << "9   Вася Lee Ann";
        QTest::newRow("blanks, names taken back, Esc")
            << QStringList { Ok, "=   ", "Esc", "=\u00A0\u2029", Cancel, "=Ann>Esc", Cancel, "=Bob>Отмена", Ok }
            << "over name nick name nick name nick name nick" << "9 *";
        QTest::newRow("better than every record") << QStringList { "!01ОК", "=Ann" } << "over name" << "1 Ann";
        QTest::newRow("the table filled before the end") << QStringList { "!50ОК" } << "over" << "9 N8";
        QTest::newRow("the table filled meanwhile") << QStringList { Ok, "!50=Late", Ok } << "over name late" << "9 N8";
        QTest::newRow("a save that fails") << QStringList { Ok, "?=Ann", Ok } << "over name failed" << "9 Quib";
    }

    void finishedGame()
    {
        QFETCH(QStringList, answers);
        QFETCH(QString, boxes);
        QFETCH(QString, stored);
        // each box's title, text, icon and buttons ('*' the default)
        const QMap<QString, QString> texts { { "over", "Игра окончена|0|*ОК" },
                                             { "name",
                                               "Ваш результат попал в таблицу рекордов!\nВведите свое имя:|input|" },
                                             { "nick", "Если вы не говорите свое имя,\nя буду называть вас " },
                                             { "late", "Результат больше не попадает в таблицу рекордов.|1|*ОК" },
                                             { "failed", "Не удалось сохранить таблицу рекордов.|3|*ОК" } };
        TestWindow w;
        A shown(answers);
        w.play(DeadEnd);
        QStringList seen;
        for (const QString &box : shown.seen)
            for (auto text = texts.cbegin(); text != texts.cend(); ++text)
                seen << (box.startsWith("Tarvel|" + *text) ? text.key() : "");
        seen.removeAll("");
        QCOMPARE(seen.join(' '), boxes);
        const QString nickname = shown.seen.last().section("вас ", 1).section('|', 0, 0).trimmed();
        const int place = stored.section(' ', 0, 0).toInt();
        QCOMPARE(Store::stored(place, place).section(' ', 0, -2), stored.section(' ', 1).replace("*", nickname));
    }

    void password_data()
    {
        QTest::addColumn<QString>("typed");
        // the way the dialog is left: a key, the button of that text, or closing it
        QTest::addColumn<QString>("how");
        for (const char *wrong : { "Mirvolet", " mirvolet", "mirvolet " })
            QTest::addRow("wrong: '%s'", wrong) << wrong << "Подтвердить";
        for (const char *how : { "Return", "Отмена", "Escape", "close" })
            QTest::addRow("right, %s", how) << "mirvolet" << how;
    }

    void password()
    {
        QFETCH(QString, typed);
        QFETCH(QString, how);
        TestWindow w;
        QTest::mouseClick(w.CmdErase, Qt::LeftButton);
        FrmPass *dialog = w.passwords().form();
        // centred as the information window, which the end-to-end test checks
        QVERIFY(QTest::qWaitForWindowExposed(dialog) && dialog->size() == QSize(312, 125) && !dialog->isModal());
        // key by key, as a player types
        QTest::keyClicks(dialog->TxtPass, typed);
        QCOMPARE(dialog->windowTitle() + dialog->Label1->text() + dialog->TxtPass->displayText()
                     + md5(dialog->LblText->text()),
                 "TarvelПароль" + QString(typed.size(), '#') + "5b82e113");
        A answers({ Ok });
        QPushButton *button = nullptr;
        for (QPushButton *named : dialog->findChildren<QPushButton *>())
            button = named->text() == how ? named : button;
        if (button)
            QTest::mouseClick(button, Qt::LeftButton);
        else if (how == "close")
            dialog->close();
        else
            QTest::keyClick(dialog->TxtPass, how == "Escape" ? Qt::Key_Escape : Qt::Key_Return);
        QTRY_VERIFY(!w.passwords().form());
        QCOMPARE(answers.seen.join(""),
                 typed == "mirvolet" ? "" : "Tarvel|Введен неверный пароль.\n\nДоступ в систему закрыт.|3|*ОК");
        QCOMPARE(Store::stored(1, 1) + '|' + w.LblScore->text().left(8),
                 how == "Return" ? " 0|1.      " : "Quib 20|1.  Quib");
    }
};

QTEST_MAIN(TestUi)
#include "tst_ui.moc"
