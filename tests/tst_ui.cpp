// The windows, driven as a player would: the main window, the boxes of a
// finished game, the password dialog and the information window.
#include "design.h"
#include "frminfo.h"
#include "frmpass.h"
#include "russiantexts.h"
#include "testkit.h"

#include <private/qguiapplication_p.h>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>

namespace {
using A = ModalAnswers;
const QString Ok = "ОК", Cancel = "Отмена";
const QString GameOverBox = "Tarvel|Игра окончена|0|*ОК";
const QString DeadEnd = "12 20 01 22 10 02 21 00"; // 12.5 %: place 9 of the default table
const auto paste = [](const QString &text) -> A::Answer { return [text](QWidget *box) { box->findChild<QLineEdit *>()->setText(text), A::press(Ok)(box); }; };
FrmPass *openPasswordDialog(TestWindow &window, const QString &typed = {})
{
    QTest::mouseClick(window.CmdErase, Qt::LeftButton);
    FrmPass *dialog = window.passwords().form();
    if (!dialog || !QTest::qWaitForWindowExposed(dialog))
        return nullptr;
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
        QCOMPARE(window.windowTitle() + ' ' + QString::number(window.minimumSize() == window.maximumSize()), "Tarvel 1");
        QCOMPARE(window.frameGeometry(), screen); // the frame, where there is one, covers the screen
        QCOMPARE(QList<QRect>({ window.Pct->geometry(), window.FrCtrl->geometry(), QRect(window.LblAvtor->pos(), QSize(0, 0)) }),
                 QList<QRect>({ { 8, 16, side, side }, { side + 24, 8, 241, 505 }, QRect(16, side + 32, 0, 0) }));
        QCOMPARE(QFontInfo(window.LblScore->font()).family() + '|' + QFontInfo(window.CmdGen->font()).family(), "Liberation Sans|DejaVu Sans");
        QVERIFY(window.LblScore->text().startsWith("1.  Quib                \n\n2.  Quib") && window.LblScore->text().endsWith("10.  Quib                \n\n"));
        std::unique_ptr<QMenu> menu(window.TxtHod->createStandardContextMenu()); // Qt's own texts, in Russian too
        QCOMPARE(menu->actions().constLast()->text().section(QLatin1Char('\t'), 0, 0), "Выделить всё");

        const QList<std::pair<QRect, QString>> controls { // in the panel: bold ones marked '*'
            { { 16, 16, 105, 25 }, "*Старт" }, { { 16, 48, 105, 25 }, "*Очистка" }, { { 16, 80, 105, 25 }, "*Выход" },
            { { 136, 16, 89, 25 }, "Удал. рекорды" }, { { 136, 48, 89, 25 }, "Залы" }, { { 136, 80, 89, 25 }, "Инфо" },
            { { 128, 120, 81, 25 }, "" }, { { 128, 152, 81, 25 }, "" }, { { 8, 184, 223, 19 }, "*Зал славы" },
            { { 8, 208, 185, 289 }, window.LblScore->text() }, { { 192, 208, 41, 289 }, "*" + window.LblSco->text() } };
        for (const auto &[geometry, caption] : controls) {
            QWidget *control = window.FrCtrl->childAt(geometry.center());
            QVERIFY2(control && control->geometry() == geometry, qPrintable(caption));
            QCOMPARE((control->font().bold() ? "*" : "") + control->property(control->inherits("QLineEdit") ? "placeholderText" : "text").toString(), caption);
        }
        QCOMPARE(QApplication::focusWidget(), window.Pct);
        for (QWidget *next : QList<QWidget *> { window.CmdGen, window.CmdClear, window.TxtHod, window.TxtScore, window.CmdErase, window.CmdZal, window.CmdExit, window.CmdVer, window.Pct }) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), next);
        }
        window.CmdZal->setFocus();
        QTest::keyClick(window.CmdZal, Qt::Key_Return); // Enter clicks the focused button, and only that
        QCOMPARE(window.LblZal->text() + ' ' + QString::number(window.isVisible()), "Зал позора 1");
    }

    void playingOnTheBoard()
    {
        TestWindow window;
        const QImage blank = window.board();
        QTest::keyClick(window.Pct, Qt::Key_Down); // before Start: nothing
        QCOMPARE(window.board(), blank);
        window.play("");
        for (int i = 0; i < 64; ++i)
            QCOMPARE(window.colour(i % 8, i / 8), (i % 8 + i / 8) % 2 ? 0xffffffu : 0x000000u);
        const QRect inner = window.Pct->contentsRect(); // the squares fill the inside of the border
        QVERIFY(window.board().pixel(inner.bottomRight()) == 0xff000000 && window.board().pixel(inner.topLeft() - QPoint(1, 1)) != 0xff000000);
        window.play("34");
        QCOMPARE(QList<QRgb>({ window.colour(3, 4), window.colour(4, 6), window.colour(1, 5), window.colour(2, 2) }), QList<QRgb>({ 0xff00ff, 0xff, 0xff, 0xff }));
        QTest::mouseClick(window.Pct, Qt::MiddleButton, {}, window.centre(4, 6));
        QCOMPARE(QList<QRgb>({ window.colour(3, 4), window.colour(4, 6), window.colour(2, 6) }), QList<QRgb>({ 0xff0000, 0xff00ff, 0x000000 }));
        QCOMPARE(window.TxtHod->text() + ' ' + window.TxtScore->text(), "3 3.1%");
        const QImage before = window.board();
        window.hide();
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(window.board(), before);

        window.play(""); // by keyboard: the cursor appears top-left, then moves
        for (Qt::Key key : { Qt::Key_Down, Qt::Key_Right, Qt::Key_Right, Qt::Key_Right, Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Down })
            QTest::keyClick(window.Pct, key);
        QCOMPARE(window.Pct->cursor(), QPoint(3, 4));
        QTest::keyClick(window.Pct, Qt::Key_Space);
        QCOMPARE(window.game().knightSquare(), QPoint(3, 4));
        const int left = inner.left() + 3 * inner.width() / 8, y = window.centre(3, 4).y(); // a white and a black ring over the square
        QCOMPARE(QList<QRgb>({ window.board().pixel(left + 1, y), window.board().pixel(left + 2, y), window.board().pixel(left + 3, y), window.board().pixel(left + 4, y) }),
                 QList<QRgb>({ 0xffffffff, 0xff000000, 0xff000000, 0xffff00ff }));
        for (Qt::Key key : { Qt::Key_Right, Qt::Key_Down, Qt::Key_Down })
            QTest::keyClick(window.Pct, key);
        QVERIFY(window.Pct->cursor() == QPoint(4, 6) && window.game().squareView(4, 6) == SquareView::Target);
        for (Qt::Key key : { Qt::Key_Up, Qt::Key_Up, Qt::Key_Left })
            QTest::keyClick(window.Pct, key);
        QTest::keyClick(window.Pct, Qt::Key_Space, Qt::ShiftModifier); // the game's own choice of a jump
        QTest::keyClick(window.Pct, Qt::Key_Return); // on the square it left: refused
        QCOMPARE(window.TxtHod->text(), "3");
        QCOMPARE(window.Pct->cursor(), window.game().knightSquare()); // the cursor followed the jump
        for (Qt::Key key : { Qt::Key_End, Qt::Key_PageDown })
            QTest::keyClick(window.Pct, key);
        QCOMPARE(window.Pct->cursor(), QPoint(7, 7));
        QTest::mouseClick(window.Pct, Qt::LeftButton, {}, window.centre(0, 0));
        QCOMPARE(window.Pct->cursor(), QPoint(-1, -1));
        QTest::mouseClick(window.CmdClear, Qt::LeftButton);
        QCOMPARE(window.board(), blank);
    }

    void crispAtANewScale()
    {
        BoardView board; // 8 squares of 12.5 pixels, so edges fall between device pixels at some scales
        board.setFixedSize(104, 104);
        board.show();
        board.fillBox(0, 0, 187.5, 187.5, 0xffff00ff); // the top-left square, in twips
        QScreen *twice = QGuiApplication::screenAt(QPoint(801, 1));
        board.windowHandle()->setScreen(twice);
        board.move(twice->geometry().topLeft());
        QTRY_COMPARE(board.devicePixelRatioF(), 2.0);
        const QImage &picture = board.picture(); // twice the pixels, the square's edge between device pixels 24 and 25
        QCOMPARE(QList<QVariant>({ picture.size(), picture.pixel(24, 10), picture.pixel(25, 10) }), QList<QVariant>({ QSize(200, 200), 0xffff00ffu, board.palette().color(QPalette::Window).rgb() }));
    }

    // The answers after "Игра окончена", the name then stored at place 9 (empty: the nickname last offered) and the boxes shown.
    void finishedGame_data()
    {
        QTest::addColumn<QList<A::Answer>>("answers");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("boxes");
        QTest::newRow("Cyrillic") << QList<A::Answer> { A::type("Вася") } << "Вася                " << 2;
        QTest::newRow("leading spaces kept") << QList<A::Answer> { A::type("  Al") } << "  Al                " << 2;
        QTest::newRow("a pasted line break") << QList<A::Answer> { paste("Ann\nLee\u200B") } << "Ann Lee             " << 2;
        QTest::newRow("cancel, then a nickname") << QList<A::Answer> { A::press(Cancel), A::press(Ok) } << "" << 3;
        QTest::newRow("nickname refused, spaces, Esc, no-break spaces, tag characters")
            << QList<A::Answer> { A::press(Cancel), A::press(Cancel), A::type("   "), [](QWidget *box) { QTest::keyClick(box, Qt::Key_Escape); },
                                  paste("\u00A0\u00A0\u2029"), A::press(Cancel), paste("\U000E0001\U000E0041\U0001D173"), A::press(Ok) } << "" << 9;
    }

    void finishedGame()
    {
        QFETCH(QList<A::Answer>, answers);
        QFETCH(QString, name);
        QFETCH(int, boxes);
        TestWindow window;
        A shown(QList<A::Answer> { A::press(Ok) } + answers);
        window.play(DeadEnd);
        QCOMPARE(shown.seen.size(), boxes);
        QVERIFY(shown.seen.join('\n').startsWith(GameOverBox + "\nTarvel|Ваш результат попал в таблицу рекордов!\nВведите свое имя:|input"));
        const QString stored = TemporaryStore::value(RecordStore::nameKey(8));
        QCOMPARE(name.isEmpty() ? shown.seen.last() : stored, name.isEmpty() ? "Tarvel|Если вы не говорите свое имя,\nя буду называть вас " + stored + "|1|ОК|*Отмена" : name);
        QCOMPARE(TemporaryStore::stored(8, 10), "Quib 13|" + QString(stored).remove(QRegularExpression(" +$")) + " 12.5|Quib 12");
        QVERIFY(window.LblScore->text().contains("9.  " + stored + "\n") && window.LblSco->text().contains("13.0%\n\n12.5%\n\n12.0%"));
    }

    void recordsWithAndWithoutAPlace()
    {
        TestWindow window(TemporaryStore::tableText(QStringList(15, "90") + QStringList(5, "10"))); // 12.5 % lands at place 16
        A first({ A::press(Ok), A::type("Zed") });
        window.play(DeadEnd);
        QVERIFY(first.seen.size() == 2 && !window.LblScore->text().contains("Zed"));
        QTest::mouseClick(window.CmdZal, Qt::LeftButton);
        QVERIFY(window.LblScore->text().contains("16.  Zed                 \n"));

        const QByteArray full = TemporaryStore::tableText(QStringList(20, "50"));
        A second({ A::press(Ok), [full](QWidget *box) { TemporaryStore::write(full), A::type("Late")(box); }, A::press(Ok) });
        window.play(DeadEnd); // another copy fills the table while the player types
        QCOMPARE(second.seen.last(), "Tarvel|Результат больше не попадает в таблицу рекордов.|1|*ОК");
        QCOMPARE(TemporaryStore::bytes(), full);
        A third({ A::press(Ok), A::press(Ok) }); // and now it has no place from the start
        window.play(DeadEnd);
        QVERIFY(QFile::remove(TemporaryStore::path()) && QDir().mkpath(TemporaryStore::path())); // and cannot be read or written
        QTest::mouseClick(window.CmdZal, Qt::LeftButton);
        QCOMPARE(third.seen, QStringList({ GameOverBox, "Tarvel|Не удалось сохранить таблицу рекордов.|3|*ОК" }));
        QVERIFY(window.LblScore->text().startsWith("1.  Quib"));
    }

    void password_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("how"); // the way the dialog is left
        QTest::addColumn<bool>("cleared");
        QTest::newRow("right, Enter") << "mirvolet" << "enter" << true;
        QTest::newRow("right, in the hall of shame") << "mirvolet" << "shame" << true;
        for (const char *wrong : { "Mirvolet", " mirvolet", "mirvolet ", "", "мирволет" })
            QTest::addRow("wrong: '%s'", wrong) << wrong << "confirm" << false;
        QTest::newRow("right, Cancel") << "mirvolet" << "cancel" << false;
        QTest::newRow("right, Esc") << "mirvolet" << "esc" << false;
        QTest::newRow("right, close box") << "mirvolet" << "close" << false;
    }

    void password()
    {
        QFETCH(QString, typed);
        QFETCH(QString, how);
        QFETCH(bool, cleared);
        TestWindow window;
        if (how == "shame")
            QTest::mouseClick(window.CmdZal, Qt::LeftButton);
        FrmPass *dialog = openPasswordDialog(window, typed.left(3));
        QCOMPARE(dialog->windowTitle() + '|' + dialog->LblText->text(), "Tarvel|Чтобы очистить таблицу рекордов, необходимо ввести пароль доступа. Готовы ли вы сделать это прямо сейчас?");
        QCOMPARE(dialog->Label1->text() + dialog->CmdConfirm->text() + dialog->CmdCansel->text() + dialog->TxtPass->displayText(), "ПарольПодтвердитьОтмена" + QString(typed.left(3).size(), '#'));
        QCOMPARE(QList<QRect>({ dialog->rect(), dialog->TxtPass->geometry(), dialog->CmdConfirm->geometry(), dialog->CmdCansel->geometry() }),
                 QList<QRect>({ { 0, 0, 312, 125 }, { 104, 48, 169, 19 }, { 40, 88, 105, 25 }, { 168, 88, 105, 25 } }));
        QVERIFY(!dialog->isModal() && !dialog->parentWidget()); // centred: see the end-to-end test
        dialog->move(dialog->pos() + QPoint(30, 20));
        const QPoint moved = dialog->pos();
        QVERIFY(openPasswordDialog(window, typed.mid(3)) == dialog && dialog->pos() == moved); // one at most, where the player left it
        A answers({ A::press(Ok) });
        how == "close" ? void(dialog->close()) : how == "confirm" || how == "cancel" ? QTest::mouseClick(how == "confirm" ? dialog->CmdConfirm : dialog->CmdCansel, Qt::LeftButton)
                                                                               : QTest::keyClick(dialog->TxtPass, how == "esc" ? Qt::Key_Escape : Qt::Key_Return);
        QTRY_VERIFY(!window.passwords().form());
        QCOMPARE(answers.seen, how == "confirm" ? QStringList { "Tarvel|Введен неверный пароль.\n\nДоступ в систему закрыт.|3|*ОК" } : QStringList());
        QCOMPARE(TemporaryStore::stored(1, 20), cleared ? QStringList(20, " 0").join('|') : "Quib 20|Quib 19|Quib 18|Quib 17|Quib 16|Quib 15|Quib 14|Quib 13|Quib 12|Quib 11|Quib 10|Quib 9|Quib 8|Quib 7|Quib 6|Quib 5|Quib 4|Quib 3|Quib 2|Quib 1");
        QCOMPARE(window.LblZal->text(), how == "shame" ? "Зал позора" : "Зал славы");
        QVERIFY(window.LblScore->text().startsWith((how == "shame" ? "11.  " : "1.  ") + (cleared ? Blank : "Quib                ") + "\n\n"));
        QVERIFY(!cleared || window.LblSco->text() == QString(".0%\n\n").repeated(10));
    }

    void infoWindow()
    {
        TestWindow window;
        QTest::mouseClick(window.CmdVer, Qt::LeftButton);
        FrmInfo *info = window.infoWindow();
        QVERIFY(info && QTest::qWaitForWindowExposed(info));
        QCOMPARE(info->windowTitle() + '|' + info->CmdOK->text() + '|' + info->Lbl3->text(), "Инфо|Окей|Сделано командой разработчиков Tarvel.");
        QVERIFY(info->size() == QSize(312, 374) && QRegularExpression("^Tarvel \\d+\\.\\d+$").match(info->Lbl1->text()).hasMatch());
        QCOMPARE(info->Lbl2->text(), " Цель игры - побывать в каждой клетке шахмотной доски передвигая фигуру Конь (ходит буквой \"Г\"). Причем Конь должен побывать в каждой клетке только один раз! Клетка, где Конь находится в данный момент, отмечена пурпурным цветом, где был раньше, - красным, а поля, куда можно идти - синим. Дерзайте!");
        const QImage icon = info->Image1->pixmap().toImage(); // black and white squares, the red figure
        QCOMPARE(QList<QRgb>({ icon.pixel(1, 1), icon.pixel(5, 1), icon.pixel(9, 5), quint32(info->Image1->x()), quint32(info->Image1->width()) }), QList<QRgb>({ 0xff000000, 0xffffffff, 0xffff0000, 128, 57 }));
        QTest::mouseClick(window.CmdVer, Qt::LeftButton);
        QCOMPARE(window.infoWindow(), info);
        QTest::keyClick(info->CmdOK, Qt::Key_Escape);
        QTRY_VERIFY(!window.infoWindow());
        QVERIFY(window.isVisible());

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
