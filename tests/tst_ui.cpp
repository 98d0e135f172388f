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

#include <private/qguiapplication_p.h>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformbackingstore.h>
#include <qpa/qplatformintegration.h>

namespace {
using A = ModalAnswers;
const QString Ok = "ОК", Cancel = "Отмена";
// 12.5 %: place 9 of the default table
const QString DeadEnd = "S 12 20 01 22 10 02 21 00";
// A plain account of the rules and of what a player sees, written apart from the game: each square
// (' ' no board, '.' free, 'r' visited, 'K' the knight), the route, the cursor, the showing after a game.
struct Model
{
    QString board = QString(64, ' '), texts = "|";
    QList<QPoint> route, finished;
    QPoint cursor { -1, -1 };
    bool over = false, marked = false; // blue marks: from the first press after Start
    int showing = 0; // 1 the player's route, 2 a whole tour

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
    // A square's colour: 'd' / 'l' a free dark / light square (a8 is dark), K purple, r red, b blue.
    QChar colour(QPoint s)
    {
        const QChar code = at(s);
        if (showing == 2 || code == '.')
            return showing < 2 && marked && targets().contains(s) ? 'b' : (s.x() + s.y()) % 2 ? 'l' : 'd';
        return code == 'K' && over ? 'r' : code;
    }
    // The squares numbered over the board.
    QList<QPoint> numbered() const
    {
        const QList<QPoint> tour = showing == 2 ? openTour(finished[0]) : QList<QPoint>();
        // no numbers where the whole tour is not one
        for (int i = 1; i < tour.size(); ++i)
            if (std::abs((tour[i] - tour[i - 1]).x() * (tour[i] - tour[i - 1]).y()) != 2 || tour.count(tour[i]) > 1)
                return {};
        return showing == 2 && tour.size() == 64 ? tour : showing ? finished : QList<QPoint>();
    }
    // What a screen reader hears of a square.
    QString spoken(QPoint s)
    {
        const QString name = QChar('a' + s.x()) + QString::number(8 - s.y());
        const QList<QPoint> shown = numbered();
        if (shown.contains(s))
            return name + ", ход " + QString::number(shown.indexOf(s) + 1) + (showing == 2 ? " из 64" : "");
        const QMap<QChar, QString> states { { '.', "свободна" },
                                            { 'r', "посещена" },
                                            { 'K', over ? "посещена" : "конь" } };
        return name + (at(s) == ' ' ? "" : ", " + (marked && targets().contains(s) ? "возможный ход" : states[at(s)]));
    }
    // What the window should show and say, as look() tells it.
    QString expected()
    {
        QString squares, names;
        for (int i = 0; i < 64; ++i)
            squares += colour(QPoint(i % 8, i / 8)) + QString(QPoint(i % 8, i / 8) == cursor ? "o" : "")
                + (i % 8 == 7 ? "/" : ""),
                names += spoken(QPoint(i % 8, i / 8)) + ';';
        QStringList route;
        for (QPoint s : numbered())
            route << spoken(s).section(',', 0, 0);
        return QString("%1 %2,%3 %4,%5\n")
                   .arg(texts)
                   .arg(knight().x())
                   .arg(knight().y())
                   .arg(cursor.x())
                   .arg(cursor.y())
            + squares + '\n' + names + '\n'
            + (showing == 2  ? "Полный обход: "
                   : showing ? "Ваш путь: "
                             : "")
            + route.join(", ") + (showing == 1 && finished.size() >= 10 ? " digits ok" : "");
    }
};

// What the window shows and says: the texts, the knight's and the cursor's squares; every square's colour as
// Model::colour() tells it, 'o' after it for the cursor's ring; what a screen reader hears of each square ('≠' and
// the square found under its centre where that differs, '!' where its rectangle is not the square on the screen);
// the showing's description, and whether the numbers 1, 2 and 10 drawn on the `route` take more ink in turn.
QString look(TestWindow &w, const QList<QPoint> &route)
{
    const QImage screen = w.backingStore()->handle()->toImage();
    const auto pixel = [&](QPoint p) { return screen.pixel(w.Pct->mapTo(&w, p) * w.devicePixelRatio()) & 0xffffff; };
    const QMap<QRgb, QChar> colours {
        { 0, 'd' }, { 0xffffff, 'l' }, { 0xff00ff, 'K' }, { 0xff0000, 'r' }, { 0xff, 'b' }
    };
    QAccessibleInterface *board = QAccessible::queryAccessibleInterface(w.Pct);
    const QPoint knight = w.game().knightSquare(), cursor = w.Pct->cursor();
    QString squares, names;
    for (int i = 0; i < 64; ++i) {
        const QPoint first = w.at(i % 8, i / 8, 1), last = w.at(i % 8, i / 8, -1), quarter = (last - first) / 4;
        const bool ring
            = pixel(first + QPoint(1, quarter.y())) == 0xffffff && pixel(first + QPoint(3, quarter.y())) == 0;
        squares += colours.value(pixel(first + quarter), ' ') + QString(ring ? "o" : "") + (i % 8 == 7 ? "/" : "");
        const QString name = board->child(i)->text(QAccessible::Name);
        const QAccessibleInterface *under
            = board->childAt(w.Pct->mapToGlobal(w.at(i % 8, i / 8)).x(), w.Pct->mapToGlobal(w.at(i % 8, i / 8)).y());
        names += name
            + (under && under->text(QAccessible::Name) == name ? ""
                                                               : "≠" + (under ? under->text(QAccessible::Name) : ""))
            + (board->child(i)->rect() == QRect(w.Pct->mapToGlobal(first), w.Pct->mapToGlobal(last)) ? ";" : "!;");
    }
    // how much ink a number drawn over a square's middle takes
    const auto ink = [&](QPoint s) {
        const QPoint first = w.at(s.x(), s.y(), 1), last = w.at(s.x(), s.y(), -1), quarter = (last - first) / 4;
        int count = 0;
        for (int x = first.x() + 5; x < last.x() - 5; ++x)
            for (int y = first.y() + quarter.y() + 2; y < last.y() - quarter.y() - 2; ++y)
                count += pixel(QPoint(x, y)) != pixel(first + quarter);
        return count;
    };
    return QString("%1|%2 %3,%4 %5,%6\n")
               .arg(w.TxtHod ? w.TxtHod->text() : "", w.TxtScore ? w.TxtScore->text() : "")
               .arg(knight.x())
               .arg(knight.y())
               .arg(cursor.x())
               .arg(cursor.y())
        + squares + '\n' + names + '\n' + board->text(QAccessible::Description)
        + (route.size() >= 10 && ink(route[0]) < ink(route[1]) && ink(route[1]) < ink(route[9]) ? " digits ok" : "");
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
        // as a screen reader finds the window, the control panel and the board
        const auto role = [](QWidget *widget) { return QAccessible::queryAccessibleInterface(widget)->role(); };
        QCOMPARE(QList<int>({ role(&w), role(w.FrCtrl), role(w.Pct) }),
                 QList<int>({ QAccessible::Window, QAccessible::Grouping, QAccessible::List }));
        QCOMPARE(QFontInfo(w.LblScore->font()).family() + QFontInfo(w.CmdGen->font()).family(),
                 "Liberation SansDejaVu Sans");
        // the tab order from the board, bold controls marked '*'
        QString controls;
        for (int i = 0; i < 9; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QWidget *focused = QApplication::focusWidget();
            controls += (focused->font().bold() ? "*" : "") + focused->property("text").toString() + '|';
        }
        QCOMPARE(controls, "*Старт|*Очистка|||Удал. рекорды|Залы|*Выход|Инфо||");
        // Enter clicks the focused button, and only that
        w.CmdZal->setFocus();
        QTest::keyClick(w.CmdZal, Qt::Key_Return);
        QCOMPARE(w.LblZal->text() + QString::number(w.isVisible()) + w.LblScore->text().left(9),
                 "Зал позора111.  Quib");
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
        const QStringList keys { "Left", "Right",  "Up",    "Down",   "Home",       "End",
                                 "PgUp", "PgDown", "Space", "Return", "Shift+Space" };
        const QSize full = w.Pct->size();
        Model m;
        for (int step = 0; step < 300; ++step) {
            // once a game is over, often what follows it
            int roll = int(m.over && random.bounded(2) ? 50 + random.bounded(10) : random.bounded(100));
            // and a game mostly goes on to its end
            roll = roll >= 90 && m.board[0] != ' ' && !m.over && random.bounded(8) ? 0 : roll;
            const QList<QPoint> targets = m.targets();
            const QPoint s = roll < 40 && !targets.isEmpty() ? targets[random.bounded(int(targets.size()))]
                                                             : QPoint(random.bounded(8), random.bounded(8));
            const QString cell = QString("%1%2").arg(s.x()).arg(s.y());
            // the last jump of a game, as often by a right press as by a left one
            bool last = !targets.isEmpty();
            for (QPoint t : targets) {
                Model after = m;
                last = last && after.press(t) && after.over;
            }
            const bool menuOnOffer = !m.finished.isEmpty(), cursorShown = m.cursor.x() >= 0;
            QString action;
            QPoint menuAt(-1, -1);
            bool automatic = false; // a jump the game chooses
            if (roll < 50 && !(last && roll % 2)) {
                action = (roll % 5 ? "" : "M") + cell + QString("+- >")[roll % 4];
                m.showing = action.startsWith('M') ? m.showing : 0;
                m.press(s + QPoint(1, 1) * action.endsWith('>')), m.cursor = { -1, -1 };
            } else if (roll < 58 || last) {
                action = 'R' + cell, automatic = true;
                menuAt = menuOnOffer ? w.at(s.x(), s.y()) : menuAt;
            } else if (roll < 60) {
                action = roll % 2 ? "Menu" : "Shift+F10";
                menuAt = !menuOnOffer  ? menuAt
                    : m.cursor.x() < 0 ? w.Pct->contentsRect().center()
                                       : w.at(m.cursor.x(), m.cursor.y());
            } else if (roll < 85) {
                action = keys[random.bounded(int(keys.size()))];
                if (m.board[0] == ' ') {
                } else if (m.cursor.x() < 0 || !action.contains(QRegularExpression("^(Space|Return)$"))) {
                    QPoint c = m.cursor.x() < 0 ? (m.route.isEmpty() ? QPoint(0, 0) : m.knight()) : m.cursor;
                    const int step = m.cursor.x() >= 0;
                    const QMap<QString, QPoint> to { { "Left", c - QPoint(step, 0) }, { "Right", c + QPoint(step, 0) },
                                                     { "Up", c - QPoint(0, step) },   { "Down", c + QPoint(0, step) },
                                                     { "Home", { 0, c.y() } },        { "End", { 7, c.y() } },
                                                     { "PgUp", { c.x(), 0 } },        { "PgDown", { c.x(), 7 } } };
                    c = to.value(action, c);
                    m.cursor = QPoint(qBound(0, c.x(), 7), qBound(0, c.y(), 7));
                } else {
                    m.showing = 0;
                    m.cursor = m.press(m.cursor) ? m.knight() : m.cursor;
                }
            } else if (roll < 90) {
                // as when the compositor gives the window another space
                w.Pct->resize(w.Pct->size() == full ? full * 3 / 4 : full);
            } else {
                action = roll < 97 ? "S" : "C";
                if (action == "S")
                    m.start();
                else
                    m.board.fill(' '), m.route.clear();
                m.cursor = { -1, -1 }, m.showing = 0;
            }
            w.play(action);
            if (automatic || (action == "Shift+Space" && cursorShown)) {
                // the game's own choice of a jump, which must be one
                const QPoint k = w.game().knightSquare();
                const bool moved = k != m.knight();
                QVERIFY2(moved ? m.press(k) : m.targets().isEmpty() && !(m.board[0] != ' ' && m.route.isEmpty()),
                         qPrintable(QString::number(step) + action + QString(" %1 %2 ").arg(k.x()).arg(k.y())
                                    + m.expected()));
                m.cursor = automatic ? QPoint(-1, -1) : moved ? m.knight() : m.cursor;
            }
            auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
            QCOMPARE(menu != nullptr, menuAt.x() >= 0);
            if (menu) {
                QVERIFY(menu->geometry().adjusted(-2, -2, 2, 2).contains(w.Pct->mapToGlobal(menuAt)));
                QString enabled;
                for (QAction *item : menu->actions())
                    enabled += item->isEnabled() ? '1' : '0';
                QCOMPARE(enabled, QString("%1%2%3").arg(m.showing != 1).arg(m.showing != 2).arg(m.showing != 0));
                const int chosen = random.bounded(4);
                if (chosen < 3 && enabled[chosen] == '1') {
                    menu->actions()[chosen]->trigger();
                    m.showing = (chosen + 1) % 3;
                    // a key completes the tour at once
                    w.play(chosen == 1 ? "Left" : "");
                }
                menu->close();
            }
            const QString expected = QString::number(step) + ' ' + action + ' ' + m.expected();
            QTRY_COMPARE(QString::number(step) + ' ' + action + ' '
                             + look(w, m.showing == 1 ? m.finished : QList<QPoint>()),
                         expected);
        }
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
        QTest::newRow("cancel, then a nickname") << QStringList { Ok, Cancel, Ok } << "over name nick" << "9 *";
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
                                               "Ваш результат попал в таблицу рекордов!\nВведите свое имя:|input" },
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
        // the hall shown is the table stored
        QCOMPARE(w.LblScore->text().split(QRegularExpression("[\r\n]+")).value((place - 1) % 10).mid(4).trimmed(),
                 stored.section(' ', 1).replace("*", nickname).trimmed());
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
        QCOMPARE(dialog->windowTitle() + dialog->Label1->text() + dialog->TxtPass->displayText(),
                 "TarvelПароль" + QString(typed.size(), '#'));
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

    void infoWindow()
    {
        TestWindow w;
        QTest::mouseClick(w.CmdVer, Qt::LeftButton);
        FrmInfo *info = w.infoWindow();
        QVERIFY(QTest::qWaitForWindowExposed(info) && info->size() == QSize(312, 374));
        QCOMPARE(info->windowTitle() + info->CmdOK->text() + info->Lbl1->text() + info->Lbl3->text(),
                 "ИнфоОкейTarvel 3.2Сделано командой разработчиков Tarvel.");
        QTest::mouseClick(w.CmdVer, Qt::LeftButton);
        QCOMPARE(w.infoWindow(), info);
    }
};

QTEST_MAIN(TestUi)
#include "tst_ui.moc"
