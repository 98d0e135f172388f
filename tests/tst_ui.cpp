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
#include <qpa/qplatformintegration.h>

namespace {
using A = ModalAnswers;
const QString Ok = "ОК", Cancel = "Отмена";
// 12.5 %: place 9 of the default table
const QString DeadEnd = "S 12 20 01 22 10 02 21 00";
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

    // The board after inputs, moved then to each screen and laid out smaller: the knight's square, the cursor's ("-1-1"
    // hidden), the move number, and the colours at points given as column, row and pixels in from the square's left
    // edge at half its height ('-': its centre).
    void board_data()
    {
        QTest::addColumn<QString>("inputs");
        QTest::addColumn<QString>("points");
        QTest::addColumn<QString>("after");
        QTest::newRow("each kind of square") << "S 34 46"
                                             << "00- 10- 460 34- 65-"
                                             << "46 -1-1 3 0 ffffff ff00ff ff0000 ff";
        QTest::newRow("cursor's rings, white then black") << "S 34 Left"
                                                          << "340 342 344"
                                                          << "34 34 2 ffffff 0 ff00ff";
        QTest::newRow("last square") << DeadEnd << "00-"
                                     << "00 -1-1 8 ff0000";
        QTest::newRow("cleared") << "S 34 C"
                                 << "34-"
                                 << "-1-1 -1-1 2 efefef";
        QTest::newRow("a press and keys before Start") << "34 Down Space"
                                                       << ""
                                                       << "-1-1 -1-1 ";
        // a square's last pixel missed would refuse the jump
        QTest::newRow("first pixel, then last, middle button") << "S 34+ M55-"
                                                               << ""
                                                               << "55 -1-1 3";
        // the jump drawn with seed 1
        QTest::newRow("the cursor follows a random jump") << "S Down Space Shift+Space"
                                                          << ""
                                                          << "21 21 3";
        QTest::newRow("keys: Enter refused, then a jump") << "S Down Space Right Return Down Down Return"
                                                          << ""
                                                          << "12 12 3";
        QTest::newRow("a mouse press hides the cursor") << "S Home Space 12+"
                                                        << ""
                                                        << "12 -1-1 3";
    }

    void board()
    {
        QFETCH(QString, inputs);
        QFETCH(QString, points);
        QFETCH(QString, after);
        for (QScreen *screen : QGuiApplication::screens()) {
            TestWindow w;
            A answers({ Ok, Cancel, Ok });
            SharedRandom::seed(1);
            w.play(inputs);
            w.windowHandle()->setScreen(screen);
            QTRY_COMPARE(w.devicePixelRatio(), screen->devicePixelRatio());
            // as when the compositor gives the window another space during a game
            w.Pct->resize(w.Pct->size() * 3 / 4);
            const QImage board = w.Pct->grab().toImage();
            const QPoint knight = w.game().knightSquare(), cursor = w.Pct->cursor();
            QString seen = QString("%1%2 %3%4 ").arg(knight.x()).arg(knight.y()).arg(cursor.x()).arg(cursor.y())
                + w.TxtHod->text();
            for (const QString &p : points.split(' ', Qt::SkipEmptyParts)) {
                const QPoint centre = w.at(p[0].digitValue(), p[1].digitValue());
                const QPoint point(p[2] == '-' ? centre.x() : w.at(p[0].digitValue(), 0, 1).x() + p[2].digitValue(),
                                   centre.y());
                seen += ' ' + QString::number(board.pixel(point * screen->devicePixelRatio()) & 0xffffff, 16);
            }
            QCOMPARE(seen, after);
        }
    }

    // After a game: the menu, the route and the whole tour over the board, and each way of ending a showing.
    void showing()
    {
        TestWindow w;
        A answers({ Ok, "=Ann" });
        // a right press: the items enabled (none without a menu), then the one chosen
        const auto menu = [&](const QString &item) {
            w.play("R44");
            auto *popup = qobject_cast<QMenu *>(QApplication::activePopupWidget());
            QString enabled;
            for (QAction *action : popup ? popup->actions() : QList<QAction *>())
                enabled += action->isEnabled() ? '1' : '0', action->text() == item ? action->trigger() : void();
            return popup && popup->close(), enabled;
        };
        // before a game, and during one
        QCOMPARE(menu(""), "");
        w.play("S 34 46");
        QCOMPARE(menu(""), "");
        w.play(DeadEnd);
        // Clear keeps the route on offer
        for (const QString end : { "Скрыть", "44", "C", "S" }) {
            w.play(end == "C" ? "C" : "");
            const QImage before = w.Pct->grab().toImage();
            QCOMPARE(menu("Показать мой путь"), "110");
            QVERIFY(w.Pct->grab().toImage() != before);
            if (end == "Скрыть") {
                QCOMPARE(menu("Показать полный обход"), "011");
                // a key completes it at once
                w.play("Left");
                QCOMPARE(w.Pct->squareName(0),
                         QString("a8, ход %1 из 64").arg(openTour(QPoint(1, 2)).indexOf(QPoint(0, 0)) + 1));
                QCOMPARE(menu(end), "101");
            } else {
                w.play(end);
            }
            QVERIFY(w.Pct->overlay()->kind() == RouteOverlay::Nothing
                    && (end == "S" || w.Pct->grab().toImage() == before));
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
        QCOMPARE(info->windowTitle() + info->CmdOK->text() + info->Lbl3->text(),
                 "ИнфоОкейСделано командой разработчиков Tarvel.");
        QTest::mouseClick(w.CmdVer, Qt::LeftButton);
        QCOMPARE(w.infoWindow(), info);
    }
};

QTEST_MAIN(TestUi)
#include "tst_ui.moc"
