// The windows, driven as a player would: the main window, the boxes of a finished game, the
// password dialog and the information window.
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
#include <qpa/qplatformintegration.h>

namespace {
using A = ModalAnswers;
const QString Ok = "ОК", Cancel = "Отмена", GameOverBox = "Tarvel|Игра окончена|0|*ОК";
const QString DeadEnd = "12 20 01 22 10 02 21 00"; // 12.5 %: place 9 of the default table
FrmPass *openPasswordDialog(TestWindow &window, const QString &typed = {})
{
    QTest::mouseClick(window.CmdErase, Qt::LeftButton);
    FrmPass *dialog = window.passwords().form();
    if (dialog && QTest::qWaitForWindowExposed(dialog))
        typeInto(dialog->TxtPass, typed);
    return dialog;
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
        QGuiApplicationPrivate::platformIntegration()->accessibility()->setActive(true); // as when a screen reader runs
    }

    void mainWindowAsDesigned()
    {
        TestWindow window;
        const QRect screen = window.screen()->availableGeometry();
        const int side = screen.height() - 80; // as large a square as the height allows
        QVERIFY(window.frameGeometry() == screen && window.minimumSize() == window.maximumSize());
        QCOMPARE(
            QList<QRect>({ window.Pct->geometry(), window.FrCtrl->geometry(), { window.LblAvtor->pos(), QSize() } }),
            QList<QRect>({ { 8, 16, side, side }, { side + 24, 8, 241, 505 }, { { 16, side + 32 }, QSize() } }));
        QCOMPARE(QFontInfo(window.LblScore->font()).family() + '|' + QFontInfo(window.CmdGen->font()).family(),
                 "Liberation Sans|DejaVu Sans");
        std::unique_ptr<QMenu> menu(window.TxtHod->createStandardContextMenu()); // Qt's own texts, in Russian too
        QCOMPARE(menu->actions().constLast()->text().section('\t', 0, 0), "Выделить всё");
        const QList<std::pair<QRect, QString>> controls {
            // in the panel, bold ones marked '*', with the start of their text
            { { 16, 16, 105, 25 }, "*Старт" },
            { { 16, 48, 105, 25 }, "*Очистка" },
            { { 16, 80, 105, 25 }, "*Выход" },
            { { 136, 16, 89, 25 }, "Удал. рекорды" },
            { { 136, 48, 89, 25 }, "Залы" },
            { { 136, 80, 89, 25 }, "Инфо" },
            { { 128, 120, 81, 25 }, "" },
            { { 128, 152, 81, 25 }, "" },
            { { 8, 184, 223, 19 }, "*Зал славы" },
            { { 8, 208, 185, 289 }, "1.  Quib     " },
            { { 192, 208, 41, 289 }, "*20.0%\n\n19.0%" }
        };
        for (const auto &[geometry, caption] : controls) {
            QWidget *control = window.FrCtrl->childAt(geometry.center());
            QVERIFY2(control && control->geometry() == geometry, qPrintable(caption));
            QCOMPARE(((control->font().bold() ? "*" : "") + control->property("text").toString()).left(13), caption);
        }
        for (QWidget *next :
             QList<QWidget *> { window.CmdGen, window.CmdClear, window.TxtHod, window.TxtScore, window.CmdErase,
                                window.CmdZal, window.CmdExit, window.CmdVer, window.Pct }) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), next); // the tab order, from the board
        }
        window.CmdZal->setFocus();
        QTest::keyClick(window.CmdZal, Qt::Key_Return); // Enter clicks the focused button, and only that
        QCOMPARE(window.LblZal->text() + ' ' + QString::number(window.isVisible()), "Зал позора 1");
    }

    // What the board draws, at every scale: each kind of square, the cursor's rings, a cleared board.
    void drawing_data()
    {
        QTest::addColumn<QString>("cells"); // played after Start, then "cursor" (a key) or "clear"
        QTest::addColumn<QPoint>("square");
        QTest::addColumn<int>("inset"); // pixels in from the square's left edge, at half its height; -1: its centre
        QTest::addColumn<uint>("colour");
        QTest::newRow("dark") << "" << QPoint(0, 0) << -1 << 0x000000u;
        QTest::newRow("light") << "" << QPoint(1, 0) << -1 << 0xffffffu;
        QTest::newRow("knight") << "34" << QPoint(3, 4) << -1 << 0xff00ffu;
        QTest::newRow("visited") << "34 46" << QPoint(3, 4) << -1 << 0xff0000u;
        QTest::newRow("target") << "34" << QPoint(5, 5) << -1 << 0x0000ffu;
        QTest::newRow("no longer a target") << "34 46" << QPoint(5, 5) << -1 << 0x000000u;
        QTest::newRow("last square") << DeadEnd << QPoint(0, 0) << -1 << 0xff0000u;
        QTest::newRow("first pixel") << "34" << QPoint(3, 4) << 0 << 0xff00ffu;
        QTest::newRow("cursor, outer ring") << "34 cursor" << QPoint(3, 4) << 0 << 0xffffffu;
        QTest::newRow("cursor, inner ring") << "34 cursor" << QPoint(3, 4) << 2 << 0x000000u;
        QTest::newRow("inside the cursor") << "34 cursor" << QPoint(3, 4) << 4 << 0xff00ffu;
        QTest::newRow("cleared") << "34 clear" << QPoint(3, 4) << -1 << 0xefefefu;
    }

    void drawing()
    {
        QFETCH(QString, cells);
        QFETCH(QPoint, square);
        QFETCH(int, inset);
        QFETCH(uint, colour);
        for (QScreen *screen : QGuiApplication::screens()) {
            TestWindow window;
            A answers({ A::press(Ok), A::press(Cancel), A::press(Ok) });
            window.play(QString(cells).remove(QRegularExpression("[a-z]")));
            if (cells.endsWith("clear"))
                QTest::mouseClick(window.CmdClear, Qt::LeftButton);
            if (cells.endsWith("cursor"))
                QTest::keyClick(window.Pct, Qt::Key_Left); // the cursor shows on the knight
            window.windowHandle()->setScreen(screen);
            QTRY_COMPARE(window.devicePixelRatioF(), screen->devicePixelRatio());
            const QPoint centre = window.at(square.x(), square.y()),
                         point
                = inset < 0 ? centre : QPoint(window.at(square.x(), square.y(), 1).x() + inset, centre.y());
            QCOMPARE(window.Pct->grab().toImage().pixel(point * screen->devicePixelRatio()) & 0xffffff, colour);
        }
    }

    // Presses by mouse and keyboard: where the knight lands, where the cursor stands, the move number.
    void presses_data()
    {
        QTest::addColumn<QString>("inputs"); // after Start: "34+" / "34-" a left press on a square's first / last
                                             // pixel, "M" a middle one, "b" on the border, or keys
        QTest::addColumn<QString>("after"); // knight|cursor|move number
        QTest::newRow("first pixel") << "34+"
                                     << "3,4|-1,-1|2";
        QTest::newRow("last pixel") << "34-"
                                    << "3,4|-1,-1|2";
        QTest::newRow("a jump to the board's last pixel, middle button") << "56+ M77-"
                                                                         << "7,7|-1,-1|3";
        QTest::newRow("on the border") << "b"
                                       << "-1,-1|-1,-1|1";
        QTest::newRow("keys before a move: the cursor from a8") << "Down Right Right Right Down Down Down Down"
                                                                << "-1,-1|3,4|1";
        QTest::newRow("Space places the knight") << "Down End Down Space"
                                                 << "7,1|7,1|2";
        QTest::newRow("Enter jumps, the cursor follows") << "Down Space Right Down Down Return"
                                                         << "1,2|1,2|3";
        QTest::newRow("Shift+Space lets the game jump") << "Down Space Shift+Space"
                                                        << "2,1|2,1|3"; // drawn with seed 1
        QTest::newRow("refused: the cursor stays") << "Down Space Right Return"
                                                   << "0,0|1,0|2";
        QTest::newRow("edges") << "Down PgDown Home Up Left"
                               << "-1,-1|0,6|1";
        QTest::newRow("a mouse press hides the cursor") << "Down Space 12+"
                                                        << "1,2|-1,-1|3";
    }

    void presses()
    {
        QFETCH(QString, inputs);
        QFETCH(QString, after);
        TestWindow window;
        SharedRandom::seed(1);
        QTest::keyClick(window.Pct, Qt::Key_Down); // before Start: nothing
        window.play("");
        for (const QString &in : inputs.split(' ')) {
            if (in[0].isDigit() || in[0] == 'M')
                QTest::mouseClick(window.Pct, in[0] == 'M' ? Qt::MiddleButton : Qt::LeftButton, {},
                                  window.at(in[in.size() - 3].digitValue(), in[in.size() - 2].digitValue(),
                                            in.endsWith('+') ? 1 : -1));
            else
                in == "b"
                    ? QTest::mouseClick(window.Pct, Qt::LeftButton, {}, QPoint(1, 1))
                    : QTest::keyClick(window.Pct, QKeySequence(in)[0].key(), QKeySequence(in)[0].keyboardModifiers());
        }
        const QPoint knight = window.game().knightSquare(), cursor = window.Pct->cursor();
        QCOMPARE(QString("%1,%2|%3,%4|").arg(knight.x()).arg(knight.y()).arg(cursor.x()).arg(cursor.y())
                     + window.TxtHod->text(),
                 after);
    }

    // After a game: the menu, the route and the whole tour over the board, and the ways of ending a showing.
    void showing_data()
    {
        QTest::addColumn<QString>("end");
        for (const char *end : { "Скрыть", "left press", "Start", "Clear" })
            QTest::newRow(end) << QString(end);
    }

    void showing()
    {
        QFETCH(QString, end);
        TestWindow window;
        A answers({ A::press(Ok), A::type("Ann") });
        const auto menu = [&](const QString &item) { // the items enabled, then the one chosen
            QTest::mouseClick(window.Pct, Qt::RightButton, {}, window.at(4, 4));
            QContextMenuEvent event(QContextMenuEvent::Mouse, window.at(4, 4),
                                    window.Pct->mapToGlobal(window.at(4, 4))); // as the platform follows a right press
            QApplication::sendEvent(window.Pct, &event);
            auto *popup = qobject_cast<QMenu *>(QApplication::activePopupWidget());
            QString enabled;
            for (QAction *action : popup ? popup->actions() : QList<QAction *>())
                enabled += action->isEnabled() ? '1' : '0', action->text() == item ? action->trigger() : void();
            return popup ? popup->close(), enabled : "none";
        };
        QCOMPARE(menu(""), "none"); // before a game
        window.play("34 46");
        QCOMPARE(menu(""), "none"); // during one
        window.play(DeadEnd);
        if (end == "Clear")
            QTest::mouseClick(window.CmdClear, Qt::LeftButton);
        const QImage before = window.Pct->grab().toImage();
        QCOMPARE(menu("Показать мой путь"), "110");
        QVERIFY(window.Pct->squareName(2 * 8 + 1) == "b6, ход 1" && window.Pct->grab().toImage() != before);
        QCOMPARE(menu("Показать полный обход"), "011");
        QTest::keyClick(window.Pct, Qt::Key_Left); // completes it at once
        QCOMPARE(window.Pct->squareName(2 * 8 + 1) + '|' + window.Pct->squareName(0),
                 "b6, ход 1 из 64|a8, ход " + QString::number(openTour(QPoint(1, 2)).indexOf(QPoint(0, 0)) + 1)
                     + " из 64");
        if (end == "Скрыть")
            QCOMPARE(menu(end), "101");
        else
            end == "left press" ? QTest::mouseClick(window.Pct, Qt::LeftButton, {}, window.at(4, 4))
                                : QTest::mouseClick(end == "Start" ? window.CmdGen : window.CmdClear, Qt::LeftButton);
        QCOMPARE(window.Pct->overlay()->kind(), RouteOverlay::Nothing);
        QVERIFY(end == "Start" || window.Pct->grab().toImage() == before);
    }

    // The answers after "Игра окончена", and the name then stored at place 9 (empty: the nickname last offered).
    void finishedGame_data()
    {
        QTest::addColumn<QList<A::Answer>>("answers");
        QTest::addColumn<QString>("name");
        QTest::newRow("Cyrillic") << QList<A::Answer> { A::type("Вася") } << "Вася";
        QTest::newRow("leading spaces kept") << QList<A::Answer> { A::type("  Al") } << "  Al";
        QTest::newRow("a line break") << QList<A::Answer> { A::type("Ann\nLee\u200B") } << "Ann Lee";
        QTest::newRow("cancel, then a nickname") << QList<A::Answer> { A::press(Cancel), A::press(Ok) } << "";
        QTest::newRow("nickname refused, spaces, Esc, no-break spaces, tag characters")
            << QList<A::Answer> { A::press(Cancel),
                                  A::press(Cancel),
                                  A::type("   "),
                                  [](QWidget *box) { QTest::keyClick(box, Qt::Key_Escape); },
                                  A::type("\u00A0\u00A0\u2029"),
                                  A::press(Cancel),
                                  A::type("\U000E0001\U000E0041\U0001D173"),
                                  A::press(Ok) }
            << "";
    }

    void finishedGame()
    {
        QFETCH(QList<A::Answer>, answers);
        QFETCH(QString, name);
        TestWindow window;
        A shown(QList<A::Answer> { A::press(Ok) } + answers);
        window.play(DeadEnd);
        QCOMPARE(shown.seen.size(), answers.size() + 1);
        QVERIFY(shown.seen.join('\n').startsWith(
            GameOverBox + "\nTarvel|Ваш результат попал в таблицу рекордов!\nВведите свое имя:|input"));
        const QString stored = TemporaryStore::stored(9, 9).chopped(5);
        QCOMPARE(name.isEmpty() ? shown.seen.last() : stored,
                 name.isEmpty() ? "Tarvel|Если вы не говорите свое имя,\nя буду называть вас "
                         + stored.leftJustified(20) + "|1|ОК|*Отмена"
                                : name);
    }

    void recordsWithAndWithoutAPlace()
    {
        TestWindow window(
            TemporaryStore::tableText(QStringList(15, "90") + QStringList(5, "10"))); // 12.5 % lands at place 16
        A first({ A::press(Ok), A::type("Zed") });
        window.play(DeadEnd);
        QTest::mouseClick(window.CmdZal, Qt::LeftButton);
        QVERIFY(window.LblScore->text().contains("16.  Zed                 \n"));

        const QByteArray full = TemporaryStore::tableText(QStringList(20, "50"));
        A second({ A::press(Ok), [full](QWidget *box) { TemporaryStore::write(full), A::type("Late")(box); },
                   A::press(Ok) });
        window.play(DeadEnd); // another copy fills the table while the player types
        QCOMPARE(second.seen.last(), "Tarvel|Результат больше не попадает в таблицу рекордов.|1|*ОК");
        QCOMPARE(TemporaryStore::bytes(), full);
        A third({ A::press(Ok), A::press(Ok) }); // and now it has no place from the start
        window.play(DeadEnd);
        QVERIFY(QFile::remove(TemporaryStore::path())
                && QDir().mkpath(TemporaryStore::path())); // and cannot be read or written
        QTest::mouseClick(window.CmdZal, Qt::LeftButton);
        QCOMPARE(third.seen, QStringList({ GameOverBox, "Tarvel|Не удалось сохранить таблицу рекордов.|3|*ОК" }));
    }

    void password_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("how"); // the way the dialog is left
        QTest::newRow("right, Enter") << "mirvolet"
                                      << "enter";
        QTest::newRow("right, in the hall of shame") << "mirvolet"
                                                     << "shame";
        for (const char *wrong : { "Mirvolet", " mirvolet", "mirvolet ", "", "мирволет" })
            QTest::addRow("wrong: '%s'", wrong) << wrong << "confirm";
        for (const char *how : { "cancel", "esc", "close" })
            QTest::addRow("right, %s", how) << "mirvolet" << how;
    }

    void password()
    {
        QFETCH(QString, typed);
        QFETCH(QString, how);
        TestWindow window;
        if (how == "shame")
            QTest::mouseClick(window.CmdZal, Qt::LeftButton);
        FrmPass *dialog = openPasswordDialog(window, typed.left(3));
        QCOMPARE(dialog->windowTitle() + '|' + dialog->LblText->text(),
                 "Tarvel|Чтобы очистить таблицу рекордов, необходимо ввести пароль доступа. Готовы ли вы сделать это "
                 "прямо сейчас?");
        QCOMPARE(dialog->Label1->text() + dialog->CmdConfirm->text() + dialog->CmdCansel->text()
                     + dialog->TxtPass->displayText(),
                 "ПарольПодтвердитьОтмена" + QString(typed.left(3).size(), '#'));
        QVERIFY(dialog->size() == QSize(312, 125) && !dialog->isModal()); // centred: see the end-to-end test
        dialog->move(dialog->pos() + QPoint(30, 20));
        const QPoint moved = dialog->pos();
        QVERIFY(openPasswordDialog(window, typed.mid(3)) == dialog
                && dialog->pos() == moved); // one at most, where the player left it
        A answers({ A::press(Ok) });
        if (how == "close" || how == "confirm" || how == "cancel")
            how == "close"
                ? void(dialog->close())
                : QTest::mouseClick(how == "confirm" ? dialog->CmdConfirm : dialog->CmdCansel, Qt::LeftButton);
        else
            QTest::keyClick(dialog->TxtPass, how == "esc" ? Qt::Key_Escape : Qt::Key_Return);
        QTRY_VERIFY(!window.passwords().form());
        QCOMPARE(answers.seen,
                 how == "confirm" ? QStringList { "Tarvel|Введен неверный пароль.\n\nДоступ в систему закрыт.|3|*ОК" }
                                  : QStringList());
        const bool cleared = how == "enter" || how == "shame";
        QCOMPARE(TemporaryStore::stored(1, 2) + '|' + TemporaryStore::stored(20, 20),
                 cleared ? " 0| 0| 0" : "Quib 20|Quib 19|Quib 1");
        QCOMPARE(window.LblZal->text() + window.LblScore->text().left(10),
                 (how == "shame" ? "Зал позора11.  " : "Зал славы1.  ")
                     + QString(cleared ? "" : "Quib").leftJustified(20).left(how == "shame" ? 5 : 6));
    }

    void infoWindow()
    {
        TestWindow window;
        QTest::mouseClick(window.CmdVer, Qt::LeftButton);
        FrmInfo *info = window.infoWindow();
        QVERIFY(info && QTest::qWaitForWindowExposed(info) && info->size() == QSize(312, 374));
        QCOMPARE(info->windowTitle() + '|' + info->CmdOK->text() + '|' + info->Lbl3->text(),
                 "Инфо|Окей|Сделано командой разработчиков Tarvel.");
        QVERIFY(QRegularExpression("^Tarvel \\d+\\.\\d+$").match(info->Lbl1->text()).hasMatch());
        QCOMPARE(
            info->Lbl2->text(),
            " Цель игры - побывать в каждой клетке шахмотной доски передвигая фигуру Конь (ходит буквой \"Г\"). Причем "
            "Конь должен побывать в каждой клетке только один раз! Клетка, где Конь находится в данный момент, "
            "отмечена пурпурным цветом, где был раньше, - красным, а поля, куда можно идти - синим. Дерзайте!");
        const QImage icon = info->Image1->pixmap().toImage(); // black and white squares, the red figure
        QCOMPARE(QList<QRgb>({ icon.pixel(1, 1), icon.pixel(5, 1), icon.pixel(9, 5) }),
                 QList<QRgb>({ 0xff000000, 0xffffffff, 0xffff0000 }));
        QTest::mouseClick(window.CmdVer, Qt::LeftButton);
        QCOMPARE(window.infoWindow(), info);
        QTest::keyClick(info->CmdOK, Qt::Key_Escape);
        QTRY_VERIFY(!window.infoWindow() && window.isVisible());

        // Esc in the main window ends the program at once, with both secondary windows, writing nothing.
        QTest::mouseClick(window.CmdVer, Qt::LeftButton);
        QVERIFY(openPasswordDialog(window));
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        const QByteArray stored = TemporaryStore::bytes();
        QTest::keyClick(window.Pct, Qt::Key_Escape);
        QTRY_VERIFY(!window.isVisible() && !window.infoWindow() && !window.passwords().form());
        QCOMPARE(TemporaryStore::bytes(), stored);
    }
};

QTEST_MAIN(TestUi)
#include "tst_ui.moc"
