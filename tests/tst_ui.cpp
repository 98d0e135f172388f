// The windows, driven as a player would: the main window and its board, the boxes of a finished
// game, the password dialog and the information w.
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
// Another copy's table, with no place left for a game's result.
const QByteArray Full = Store::tableText(QStringList(20, "50"));
void click(QWidget *widget)
{
    QTest::mouseClick(widget, Qt::LeftButton);
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
        TestWindow w;
        const int side = w.screen()->availableGeometry().height() - 80; // as large a square as the height allows
        QCOMPARE(w.Pct->geometry(), QRect(8, 16, side, side));
        QCOMPARE(QFontInfo(w.LblScore->font()).family() + QFontInfo(w.CmdGen->font()).family(),
                 "Liberation SansDejaVu Sans");
        QString controls; // in the tab order from the board, bold ones marked '*'
        for (int i = 0; i < 9; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            controls += (QApplication::focusWidget()->font().bold() ? "*" : "")
                + QApplication::focusWidget()->property("text").toString() + '|';
        }
        QCOMPARE(controls, "*Старт|*Очистка|||Удал. рекорды|Залы|*Выход|Инфо||");
        QCOMPARE(QApplication::focusWidget(), w.Pct);
        w.CmdZal->setFocus();
        QTest::keyClick(w.CmdZal, Qt::Key_Return); // Enter clicks the focused button, and only that
        QCOMPARE(w.LblZal->text() + QString::number(w.isVisible()) + w.LblScore->text().left(9),
                 "Зал позора111.  Quib");
    }

    // What the board draws, at every scale: each kind of square, the cursor's rings, a cleared board.
    void drawing_data()
    {
        QTest::addColumn<QString>("cells"); // played after Start, then "cursor" (a key) or "clear"
        QTest::addColumn<QString>(
            "points"); // column, row, pixels in from the square's left edge at half its height (- its centre)
        QTest::addColumn<QString>("colours");
        QTest::newRow("dark, light, knight, visited, target") << "34 46"
                                                              << "00- 10- 460 34- 65-"
                                                              << "0 ffffff ff00ff ff0000 ff";
        QTest::newRow("cursor's rings, white then black") << "34 cursor"
                                                          << "340 342 344"
                                                          << "ffffff 0 ff00ff";
        QTest::newRow("last square") << DeadEnd << "00-"
                                     << "ff0000";
        QTest::newRow("cleared") << "34 clear"
                                 << "34-"
                                 << "efefef";
    }

    void drawing()
    {
        QFETCH(QString, cells);
        QFETCH(QString, points);
        QFETCH(QString, colours);
        for (QScreen *screen : QGuiApplication::screens()) {
            TestWindow w;
            A answers({ A::press(Ok), A::press(Cancel), A::press(Ok) });
            w.play(QString(cells).remove(QRegularExpression("[a-z]")));
            if (cells.endsWith("clear"))
                click(w.CmdClear);
            if (cells.endsWith("cursor"))
                QTest::keyClick(w.Pct, Qt::Key_Left); // shows the cursor on the knight
            w.windowHandle()->setScreen(screen);
            QTRY_COMPARE(w.devicePixelRatio(), screen->devicePixelRatio());
            const QImage board = w.Pct->grab().toImage();
            QStringList seen;
            for (const QString &p : points.split(' ')) {
                const int column = p[0].digitValue(), row = p[1].digitValue();
                const QPoint point(p[2] == '-' ? w.at(column, row).x() : w.at(column, row, 1).x() + p[2].digitValue(),
                                   w.at(column, row).y());
                seen << QString::number(board.pixel(point * screen->devicePixelRatio()) & 0xffffff, 16);
            }
            QCOMPARE(seen.join(' '), colours);
        }
    }

    // Presses by mouse and keyboard: where the knight lands, where the cursor stands, the move number.
    void presses_data()
    {
        QTest::addColumn<QString>("inputs"); // after Start: "34+" / "34-" a left press on a square's first / last
                                             // pixel, M a middle one, or keys
        QTest::addColumn<QString>("after"); // knight, cursor, move number
        QTest::newRow("first pixel") << "34+"
                                     << "34 -1-1 2";
        QTest::newRow("last pixel") << "34-"
                                    << "34 -1-1 2";
        QTest::newRow("a jump to the last pixel, middle button") << "56+ M77-"
                                                                 << "77 -1-1 3";
        QTest::newRow("Shift+Space: the cursor follows the game's jump") << "Down Space Shift+Space"
                                                                         << "21 21 3"; // drawn with seed 1
        QTest::newRow("keys: Enter refused, then a jump") << "Down Space Right Return Down Down Return"
                                                          << "12 12 3";
        QTest::newRow("a mouse press hides the cursor") << "Home Space 12+"
                                                        << "12 -1-1 3";
    }

    void presses()
    {
        QFETCH(QString, inputs);
        QFETCH(QString, after);
        TestWindow w;
        SharedRandom::seed(1);
        QTest::keyClick(w.Pct, Qt::Key_Down); // before Start: nothing
        QCOMPARE(w.Pct->cursor(), QPoint(-1, -1));
        w.play("");
        for (const QString &in : inputs.split(' ')) {
            const QKeyCombination key = QKeySequence(in)[0];
            if (in[0].isDigit() || in[0] == 'M')
                QTest::mouseClick(
                    w.Pct, in[0] == 'M' ? Qt::MiddleButton : Qt::LeftButton, {},
                    w.at(in.right(3)[0].digitValue(), in.right(3)[1].digitValue(), in.endsWith('+') ? 1 : -1));
            else
                QTest::keyClick(w.Pct, key.key(), key.keyboardModifiers());
        }
        const QPoint knight = w.game().knightSquare(), cursor = w.Pct->cursor();
        QCOMPARE(QString("%1%2 %3%4 ").arg(knight.x()).arg(knight.y()).arg(cursor.x()).arg(cursor.y())
                     + w.TxtHod->text(),
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
        TestWindow w;
        A answers({ A::press(Ok), A::type("Ann") });
        const auto menu = [&](const QString &item) { // a right press: the items enabled, then the one chosen
            QTest::mouseClick(w.Pct, Qt::RightButton, {}, w.at(4, 4));
            QContextMenuEvent event(QContextMenuEvent::Mouse, w.at(4, 4), w.Pct->mapToGlobal(w.at(4, 4)));
            QApplication::sendEvent(w.Pct, &event); // as the platform follows a right press
            auto *popup = qobject_cast<QMenu *>(QApplication::activePopupWidget());
            QString enabled = popup ? "" : "none";
            for (QAction *action : popup ? popup->actions() : QList<QAction *>())
                enabled += action->isEnabled() ? '1' : '0', action->text() == item ? action->trigger() : void();
            return popup && popup->close(), enabled;
        };
        QCOMPARE(menu(""), "none"); // before a game
        w.play("34 46");
        QCOMPARE(menu(""), "none"); // during one
        w.play(DeadEnd);
        if (end == "Clear")
            click(w.CmdClear);
        const QImage before = w.Pct->grab().toImage();
        QCOMPARE(menu("Показать мой путь"), "110");
        QVERIFY(w.Pct->grab().toImage() != before);
        QCOMPARE(menu("Показать полный обход"), "011");
        QTest::keyClick(w.Pct, Qt::Key_Left); // completes it at once
        QCOMPARE(w.Pct->squareName(0),
                 QString("a8, ход %1 из 64").arg(openTour(QPoint(1, 2)).indexOf(QPoint(0, 0)) + 1));
        if (end == "Скрыть")
            QCOMPARE(menu(end), "101");
        else
            end == "left press" ? QTest::mouseClick(w.Pct, Qt::LeftButton, {}, w.at(4, 4))
                                : QTest::mouseClick(end == "Start" ? w.CmdGen : w.CmdClear, Qt::LeftButton);
        QVERIFY(w.Pct->overlay()->kind() == RouteOverlay::Nothing
                && (end == "Start" || w.Pct->grab().toImage() == before));
    }

    // The answers after "Игра окончена", and the name then stored at place 9 (empty: the nickname last offered).
    void finishedGame_data()
    {
        QTest::addColumn<QList<A::Answer>>("answers");
        QTest::addColumn<QString>("name");
        QTest::newRow("Cyrillic, leading spaces, a line break")
            << QList<A::Answer> { A::type("  Вася\nLee\u200B") } << "  Вася Lee";
        QTest::newRow("cancel, then a nickname") << QList<A::Answer> { A::press(Cancel), A::press(Ok) } << "";
        QTest::newRow("nickname refused, spaces, Esc, no-break spaces, tag characters")
            << QList<A::Answer> { A::press(Cancel),
                                  A::press(Cancel),
                                  A::type("   "),
                                  [](QWidget *box) { QTest::keyClick(box, Qt::Key_Escape); },
                                  A::type("\u00A0\u2029"),
                                  A::press(Cancel),
                                  A::type("\U000E0001\U0001D173"),
                                  A::press(Ok) }
            << "";
        QTest::newRow("another copy fills the table meanwhile")
            << QList<A::Answer> { [](QWidget *box) { Store::write(Full), A::type("Late")(box); }, A::press(Ok) }
            << "N8";
    }

    void finishedGame()
    {
        QFETCH(QList<A::Answer>, answers);
        QFETCH(QString, name);
        TestWindow w;
        A shown(QList<A::Answer> { A::press(Ok) } + answers);
        w.play(DeadEnd);
        QCOMPARE(shown.seen.size(), answers.size() + 1);
        QVERIFY(shown.seen.join('\n').startsWith(
            GameOverBox + "\nTarvel|Ваш результат попал в таблицу рекордов!\nВведите свое имя:|input"));
        const QString stored = Store::stored(9, 9).section(' ', 0, -2);
        QCOMPARE(name.isEmpty() ? shown.seen.last() : stored,
                 name.isEmpty() ? "Tarvel|Если вы не говорите свое имя,\nя буду называть вас "
                         + stored.leftJustified(20) + "|1|ОК|*Отмена"
                                : name);
        QVERIFY(name != "N8" || shown.seen.last() == "Tarvel|Результат больше не попадает в таблицу рекордов.|1|*ОК");
    }

    void password_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("how"); // the way the dialog is left
        QTest::newRow("right, Enter") << "mirvolet"
                                      << "enter";
        QTest::newRow("right, in the hall of shame") << "mirvolet"
                                                     << "shame";
        for (const char *wrong : { "Mirvolet", " mirvolet", "mirvolet " })
            QTest::addRow("wrong: '%s'", wrong) << wrong << "confirm";
        for (const char *how : { "cancel", "esc", "close" })
            QTest::addRow("right, %s", how) << "mirvolet" << how;
    }

    void password()
    {
        QFETCH(QString, typed);
        QFETCH(QString, how);
        TestWindow w;
        if (how == "shame")
            click(w.CmdZal);
        click(w.CmdErase);
        FrmPass *dialog = w.passwords().form();
        QVERIFY(QTest::qWaitForWindowExposed(dialog) && dialog->size() == QSize(312, 125)
                && !dialog->isModal()); // centred: see the end-to-end test
        for (QChar ch : typed) // key by key, as a player types
            QTest::sendKeyEvent(QTest::Click, dialog->TxtPass, Qt::Key_unknown, ch, {});
        QCOMPARE(dialog->windowTitle() + dialog->LblText->text(),
                 "TarvelЧтобы очистить таблицу рекордов, необходимо ввести пароль доступа. Готовы ли вы сделать это "
                 "прямо сейчас?");
        QCOMPARE(dialog->Label1->text() + dialog->CmdConfirm->text() + dialog->CmdCansel->text()
                     + dialog->TxtPass->displayText(),
                 "ПарольПодтвердитьОтмена" + QString(typed.size(), '#'));
        A answers({ A::press(Ok) });
        if (how == "close" || how == "confirm" || how == "cancel")
            how == "close"
                ? void(dialog->close())
                : QTest::mouseClick(how == "confirm" ? dialog->CmdConfirm : dialog->CmdCansel, Qt::LeftButton);
        else
            QTest::keyClick(dialog->TxtPass, how == "esc" ? Qt::Key_Escape : Qt::Key_Return);
        QTRY_VERIFY(!w.passwords().form());
        QCOMPARE(answers.seen,
                 how == "confirm" ? QStringList { "Tarvel|Введен неверный пароль.\n\nДоступ в систему закрыт.|3|*ОК" }
                                  : QStringList());
        const bool cleared = how == "enter" || how == "shame";
        QCOMPARE(Store::stored(1, 1) + Store::stored(20, 20), cleared ? " 0 0" : "Quib 20Quib 1");
    }

    void infoWindow()
    {
        TestWindow w;
        click(w.CmdVer);
        FrmInfo *info = w.infoWindow();
        QVERIFY(QTest::qWaitForWindowExposed(info) && info->size() == QSize(312, 374));
        QCOMPARE(info->windowTitle() + info->CmdOK->text() + info->Lbl3->text(),
                 "ИнфоОкейСделано командой разработчиков Tarvel.");
        QVERIFY(QRegularExpression("^Tarvel \\d+\\.\\d+$").match(info->Lbl1->text()).hasMatch());
        QCOMPARE(
            info->Lbl2->text(),
            " Цель игры - побывать в каждой клетке шахмотной доски передвигая фигуру Конь (ходит буквой \"Г\"). Причем "
            "Конь должен побывать в каждой клетке только один раз! Клетка, где Конь находится в данный момент, "
            "отмечена пурпурным цветом, где был раньше, - красным, а поля, куда можно идти - синим. Дерзайте!");
        click(w.CmdVer);
        QCOMPARE(w.infoWindow(), info);
    }
};

QTEST_MAIN(TestUi)
#include "tst_ui.moc"
