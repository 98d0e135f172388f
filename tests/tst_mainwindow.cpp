// The main window, driven through its real controls on the offscreen platform.
#include "testwindow.h"
#include "colours.h"
#include "design.h"
#include "frmmain.h"
#include "mainlayout.h"
#include "modalanswers.h"
#include "storefixture.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

namespace {
QRgb chessColour(int column, int row)
{
    return (column + row) % 2 == 0 ? BoardColour::Black : BoardColour::White;
}

QString hallText(int offset)
{
    QString names;
    for (int i = offset; i < offset + 10; ++i)
        names += QString::number(i + 1) + ".  Quib                \n\n";
    return names;
}
}

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { DesignFont::mapToInstalledFonts(); }

    void layoutForScreen_data();
    void layoutForScreen();
    void loadStepLaysOutTheWindow();
    void controlsAsDesigned_data();
    void controlsAsDesigned();
    void captionsSizeThemselvesToTheirText();
    void fontsAreMappedToInstalledOnes();
    void focusStartsOnBoardAndTabsInOrder();

    void pressBeforeStartDoesNothing();
    void startBeforeTheEventLoopRuns();
    void startPaintsChessboard();
    void pressesPaintPurpleRedAndBlue();
    void refusedPressChangesNoPixel_data();
    void refusedPressChangesNoPixel();
    void rightPressLandsOnABlueSquare();
    void clearLeavesOnlyBackground();
    void boardSurvivesBeingCovered();

    void unwritableStoreIsReportedOncePerSave();
    void hallSwitch();
    void hallSwitchRereadsTheStore();
    void enterClicksOnlyTheFocusedButton();
    void escAndExitEndTheProgram_data();
    void escAndExitEndTheProgram();
};

void TestMainWindow::layoutForScreen_data()
{
    QTest::addColumn<QSize>("screenPixels");
    QTest::addColumn<int>("side");
    QTest::addColumn<int>("panelLeft");
    QTest::addColumn<int>("authorTop");

    QTest::newRow("1024 x 768") << QSize(1024, 768) << 10320 << 10680 << 10800;
    QTest::newRow("800 x 600") << QSize(800, 600) << 7800 << 8160 << 8280;
    QTest::newRow("1920 x 1080") << QSize(1920, 1080) << 15000 << 15360 << 15480;
    QTest::newRow("640 x 480") << QSize(640, 480) << 6000 << 6360 << 6480;
}

void TestMainWindow::layoutForScreen()
{
    QFETCH(QSize, screenPixels);
    QFETCH(int, side);
    QFETCH(int, panelLeft);
    QFETCH(int, authorTop);

    const MainLayout layout = mainLayoutForScreen(screenPixels * 15);
    QCOMPARE(layout.window, QRect(QPoint(0, 0), screenPixels * 15));
    QCOMPARE(layout.picture, QRect(120, 240, side, side));
    QCOMPARE(layout.panel, QPoint(panelLeft, 120));
    QCOMPARE(layout.author, QPoint(240, authorTop));
}

void TestMainWindow::loadStepLaysOutTheWindow()
{
    TemporaryStore store;
    FrmMain window;
    QCoreApplication::processEvents(); // the rest of the controls come with the event loop
    const QRect screen = window.screen()->availableGeometry();
    QCOMPARE(window.windowTitle(), QStringLiteral("Tarvel"));
    QCOMPARE(window.size(), screen.size());
    QCOMPARE(window.minimumSize(), window.maximumSize());
    QVERIFY(!(window.windowFlags() & Qt::WindowMinMaxButtonsHint));
    QVERIFY(window.windowFlags() & Qt::WindowCloseButtonHint);
    QVERIFY(!window.windowIcon().isNull());

    const int side = screen.height() - 80;
    QCOMPARE(window.Pct->geometry(), QRect(8, 16, side, side));
    QCOMPARE(window.Pct->innerWidth(), float((side - 4) * 15));
    QCOMPARE(window.FrCtrl->geometry(), QRect(side + 24, 8, 241, 505));
    QCOMPARE(window.LblAvtor->pos(), QPoint(16, side + 32));
    QCOMPARE(window.records().HallOffset, HallOfFame);
    QCOMPARE(window.LblZal->text(), QStringLiteral("Зал славы"));
    QCOMPARE(window.LblScore->text(), hallText(0));
    QVERIFY(window.LblSco->text().startsWith(QStringLiteral("20.0%\n\n19.0%\n\n")));
    QVERIFY(window.TxtHod->text().isEmpty());
    QVERIFY(window.TxtScore->text().isEmpty());
}

void TestMainWindow::controlsAsDesigned_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QRect>("twips");
    QTest::addColumn<bool>("bold");

    QTest::newRow("Start") << "CmdGen" << "Старт" << QRect(240, 240, 1575, 375) << true;
    QTest::newRow("Clear") << "CmdClear" << "Очистка" << QRect(240, 720, 1575, 375) << true;
    QTest::newRow("Exit") << "CmdExit" << "Выход" << QRect(240, 1200, 1575, 375) << true;
    QTest::newRow("Delete records") << "CmdErase" << "Удал. рекорды" << QRect(2040, 240, 1335, 375) << false;
    QTest::newRow("Halls") << "CmdZal" << "Залы" << QRect(2040, 720, 1335, 375) << false;
    QTest::newRow("Info") << "CmdVer" << "Инфо" << QRect(2040, 1200, 1335, 375) << false;
    QTest::newRow("move number") << "TxtHod" << "" << QRect(1920, 1800, 1215, 375) << false;
    QTest::newRow("fill percentage") << "TxtScore" << "" << QRect(1920, 2280, 1215, 375) << false;
    QTest::newRow("places") << "LblScore" << "" << QRect(120, 3120, 2775, 4335) << false;
    QTest::newRow("hall title") << "LblZal" << "" << QRect(120, 2760, 3345, 285) << true;
    QTest::newRow("scores") << "LblSco" << "" << QRect(2880, 3120, 615, 4335) << true;
}

void TestMainWindow::controlsAsDesigned()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QRect, twips);
    QFETCH(bool, bold);

    TemporaryStore store;
    FrmMain window;
    QCoreApplication::processEvents(); // the rest of the controls come with the event loop
    QWidget *control = nullptr;
    const QHash<QString, QWidget *> controls {
        { "CmdGen", window.CmdGen },     { "CmdClear", window.CmdClear }, { "CmdExit", window.CmdExit },
        { "CmdErase", window.CmdErase }, { "CmdZal", window.CmdZal },     { "CmdVer", window.CmdVer },
        { "TxtHod", window.TxtHod },     { "TxtScore", window.TxtScore }, { "LblScore", window.LblScore },
        { "LblZal", window.LblZal },     { "LblSco", window.LblSco },
    };
    control = controls.value(name);
    QVERIFY(control);
    QCOMPARE(control->parentWidget(), window.FrCtrl);
    QCOMPARE(control->geometry(), twipsRect(twips));
    QCOMPARE(control->font().bold(), bold);
    QVERIFY(control->isVisibleTo(&window) && control->isEnabled());
    if (auto *button = qobject_cast<QPushButton *>(control)) {
        QCOMPARE(button->text(), caption);
        QVERIFY(!button->isDefault());
        QCOMPARE(button->accessibleName().isEmpty() ? button->text() : button->accessibleName(), caption);
    }
    if (auto *field = qobject_cast<QLineEdit *>(control))
        QVERIFY(field->isReadOnly());
}

void TestMainWindow::captionsSizeThemselvesToTheirText()
{
    TestWindow window;
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    for (QLabel *caption : window.Label1) {
        QCOMPARE(caption->pos(), caption == window.Label1[0] ? QPoint(24, 120) : QPoint(24, 152));
        QVERIFY(caption->width() >= caption->fontMetrics().horizontalAdvance(caption->text()));
        QVERIFY(caption->height() >= caption->fontMetrics().height());
    }
}

void TestMainWindow::fontsAreMappedToInstalledOnes()
{
    TemporaryStore store;
    FrmMain window;
    QCoreApplication::processEvents(); // the rest of the controls come with the event loop
    QCOMPARE(QFontInfo(window.LblScore->font()).family(), QStringLiteral("Liberation Sans"));
    QCOMPARE(QFontInfo(window.LblScore->font()).pointSizeF(), 9.0);
    QCOMPARE(QFontInfo(window.CmdZal->font()).family(), QStringLiteral("DejaVu Sans"));
    QCOMPARE(QFontInfo(window.CmdGen->font()).family(), QStringLiteral("DejaVu Sans"));
    QCOMPARE(window.TxtHod->font().pointSizeF(), 14.25);
}

void TestMainWindow::focusStartsOnBoardAndTabsInOrder()
{
    TestWindow window;
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(window.Pct));

    const QList<QWidget *> expected { window.CmdGen, window.CmdClear, window.TxtHod, window.TxtScore,
                                      window.CmdErase, window.CmdZal, window.CmdExit, window.CmdVer,
                                      window.Pct };
    for (QWidget *next : expected) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), next);
    }
}

void TestMainWindow::pressBeforeStartDoesNothing()
{
    TestWindow window;
    const QImage before = window.boardImage();
    window.pressSquare(QPoint(3, 3));
    window.pressSquare(QPoint(4, 4), Qt::RightButton);
    QCOMPARE(window.boardImage(), before);
    QVERIFY(window.TxtHod->text().isEmpty());
    QCOMPARE(window.game().state().MoveNumber, 0);
}

void TestMainWindow::startBeforeTheEventLoopRuns()
{
    TemporaryStore store;
    FrmMain window;
    window.CmdGen_Click();
    QCOMPARE(window.TxtHod->text(), QStringLiteral("1"));
    QCOMPARE(window.TxtScore->text(), QStringLiteral(".0%"));
    QCoreApplication::processEvents();
    QCOMPARE(window.FrCtrl->findChildren<QLineEdit *>().size(), 2);
    QVERIFY(window.TxtHod->isVisibleTo(&window));
}

void TestMainWindow::startPaintsChessboard()
{
    TestWindow window;
    window.start();
    const QImage image = window.boardImage();
    for (int c = 0; c < 8; ++c)
        for (int r = 0; r < 8; ++r)
            QCOMPARE(image.pixel(window.squareCentre(QPoint(c, r))) | 0xff000000, chessColour(c, r));
    // The squares fill the inside of the border exactly.
    const QRect inner = window.Pct->contentsRect();
    QCOMPARE(image.pixel(inner.topLeft()) | 0xff000000, BoardColour::Black);
    QCOMPARE(image.pixel(inner.bottomRight()) | 0xff000000, BoardColour::Black);
    QCOMPARE(image.pixel(inner.topRight()) | 0xff000000, BoardColour::White);
    QVERIFY((image.pixel(inner.topLeft() - QPoint(1, 1)) | 0xff000000) != BoardColour::Black);
    QCOMPARE(window.TxtHod->text(), QStringLiteral("1"));
    QCOMPARE(window.TxtScore->text(), QStringLiteral(".0%"));
}

void TestMainWindow::pressesPaintPurpleRedAndBlue()
{
    TestWindow window;
    window.start();

    window.pressSquare(QPoint(3, 4));
    QCOMPARE(window.squareColour(QPoint(3, 4)), BoardColour::Purple);
    for (QPoint target : { QPoint(4, 6), QPoint(2, 6), QPoint(5, 5), QPoint(1, 5), QPoint(1, 3), QPoint(5, 3),
                           QPoint(4, 2), QPoint(2, 2) })
        QCOMPARE(window.squareColour(target), BoardColour::Blue);
    QCOMPARE(window.TxtHod->text(), QStringLiteral("2"));
    QCOMPARE(window.TxtScore->text(), QStringLiteral("1.6%"));

    window.pressSquare(QPoint(4, 6), Qt::MiddleButton);
    QCOMPARE(window.squareColour(QPoint(3, 4)), BoardColour::Red);
    QCOMPARE(window.squareColour(QPoint(4, 6)), BoardColour::Purple);
    QCOMPARE(window.squareColour(QPoint(2, 6)), chessColour(2, 6)); // old mark removed
    QCOMPARE(window.squareColour(QPoint(6, 7)), BoardColour::Blue);
    QCOMPARE(window.squareColour(QPoint(2, 5)), BoardColour::Blue);
    QCOMPARE(window.TxtHod->text(), QStringLiteral("3"));
}

void TestMainWindow::refusedPressChangesNoPixel_data()
{
    QTest::addColumn<QPoint>("cell");
    QTest::addColumn<int>("button");

    QTest::newRow("on the knight") << QPoint(4, 6) << int(Qt::LeftButton);
    QTest::newRow("on a red square") << QPoint(3, 4) << int(Qt::LeftButton);
    QTest::newRow("not a jump away") << QPoint(0, 0) << int(Qt::LeftButton);
    QTest::newRow("middle button, not a jump away") << QPoint(7, 0) << int(Qt::MiddleButton);
}

void TestMainWindow::refusedPressChangesNoPixel()
{
    QFETCH(QPoint, cell);
    QFETCH(int, button);

    TestWindow window;
    window.start();
    window.pressSquare(QPoint(3, 4));
    window.pressSquare(QPoint(4, 6));
    const QImage before = window.boardImage();
    const GameState state = window.game().state();

    window.pressSquare(cell, Qt::MouseButton(button));
    QCOMPARE(window.boardImage(), before);
    QCOMPARE(window.game().state().CellX, state.CellX);
    QCOMPARE(window.game().state().CellY, state.CellY);
    QCOMPARE(window.game().state().MoveNumber, state.MoveNumber);
    QCOMPARE(window.game().state().TargetCount, state.TargetCount);
    QCOMPARE(window.TxtHod->text(), QStringLiteral("3"));
}

void TestMainWindow::rightPressLandsOnABlueSquare()
{
    TestWindow window;
    window.start();
    window.pressSquare(QPoint(0, 0), Qt::RightButton);
    const QPoint first(window.game().state().CellX, window.game().state().CellY);
    QVERIFY(first == QPoint(6, 7) || first == QPoint(7, 6));
    QCOMPARE(window.squareColour(first), BoardColour::Purple);

    QList<QPoint> blue;
    for (int c = 0; c < 8; ++c)
        for (int r = 0; r < 8; ++r)
            if (window.squareColour(QPoint(c, r)) == BoardColour::Blue)
                blue.append(QPoint(c, r));
    window.pressSquare(first, Qt::RightButton);
    const QPoint second(window.game().state().CellX, window.game().state().CellY);
    QVERIFY(blue.contains(second));
    QCOMPARE(window.squareColour(second), BoardColour::Purple);
    QCOMPARE(window.squareColour(first), BoardColour::Red);
}

void TestMainWindow::clearLeavesOnlyBackground()
{
    TestWindow window;
    window.start();
    window.pressSquare(QPoint(3, 4));
    QTest::mouseClick(window.CmdClear, Qt::LeftButton);

    const QImage image = window.boardImage().copy(window.Pct->contentsRect());
    const QRgb background = window.Pct->palette().color(QPalette::Window).rgb();
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            QCOMPARE(image.pixel(x, y) | 0xff000000, background);
    QCOMPARE(window.TxtHod->text(), QStringLiteral("2"));
    QCOMPARE(window.TxtScore->text(), QStringLiteral("1.6%"));

    window.pressSquare(QPoint(3, 3));
    QCOMPARE(window.boardImage().copy(window.Pct->contentsRect()), image);
}

void TestMainWindow::boardSurvivesBeingCovered()
{
    TestWindow window;
    window.start();
    window.pressSquare(QPoint(2, 2));
    const QImage before = window.boardImage();
    window.hide();
    window.show();
    QCOMPARE(window.boardImage(), before);
}

void TestMainWindow::unwritableStoreIsReportedOncePerSave()
{
    TemporaryStore store;
    store.makeUnwritable();
    ModalAnswers answers;
    answers.then(ModalAnswers::press(QStringLiteral("ОК"))).then(ModalAnswers::press(QStringLiteral("ОК")));
    FrmMain window; // the default table cannot be written back
    QCOMPARE(answers.seen.size(), 1);
    const SeenBox box = answers.seen[0];
    QCOMPARE(box.title, QStringLiteral("Tarvel"));
    QCOMPARE(box.text, QStringLiteral("Не удалось сохранить таблицу рекордов."));
    QCOMPARE(box.icon, QMessageBox::Critical);
    QCOMPARE(box.buttons, QStringList { QStringLiteral("ОК") });
    QCOMPARE(window.LblScore->text(), hallText(0));

    window.show();
    QTest::mouseClick(window.CmdZal, Qt::LeftButton);
    QVERIFY(answers.allAnswered());
    QCOMPARE(answers.seen.size(), 2);
    QCOMPARE(window.LblScore->text(), hallText(10));
}

void TestMainWindow::hallSwitch()
{
    TemporaryStore store;
    FrmMain window;
    QTest::mouseClick(window.CmdZal, Qt::LeftButton);
    QCOMPARE(window.LblZal->text(), QStringLiteral("Зал позора"));
    QCOMPARE(window.records().HallOffset, HallOfShame);
    QCOMPARE(window.LblScore->text(), hallText(10));
    QVERIFY(window.LblSco->text().startsWith(QStringLiteral("10.0%\n\n9.0%")));
    QVERIFY(window.LblSco->text().endsWith(QStringLiteral("1.0%\n\n")));

    QTest::mouseClick(window.CmdZal, Qt::LeftButton);
    QCOMPARE(window.LblZal->text(), QStringLiteral("Зал славы"));
    QCOMPARE(window.LblScore->text(), hallText(0));
}

void TestMainWindow::hallSwitchRereadsTheStore()
{
    TemporaryStore store;
    FrmMain window;
    TemporaryStore::set(RecordStore::nameKey(12), QStringLiteral("Outsider"));
    QTest::mouseClick(window.CmdZal, Qt::LeftButton);
    QVERIFY(window.LblScore->text().contains(QStringLiteral("13.  Outsider            \n")));

    TemporaryStore::set(RecordStore::scoreKey(3), QStringLiteral("damaged"));
    QTest::mouseClick(window.CmdZal, Qt::LeftButton);
    QCOMPARE(window.LblScore->text(), hallText(0));
    QCOMPARE(TemporaryStore::value(RecordStore::scoreKey(3)), QStringLiteral("17"));
    QCOMPARE(TemporaryStore::value(RecordStore::nameKey(12)), QStringLiteral("Quib                "));
}

void TestMainWindow::enterClicksOnlyTheFocusedButton()
{
    TestWindow window;
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QTest::keyClick(window.Pct, Qt::Key_Return);
    QCOMPARE(window.records().HallOffset, HallOfFame);
    QVERIFY(window.TxtHod->text().isEmpty());

    window.CmdZal->setFocus();
    QTest::keyClick(window.CmdZal, Qt::Key_Return);
    QCOMPARE(window.records().HallOffset, HallOfShame);
    QVERIFY(window.isVisible());
}

void TestMainWindow::escAndExitEndTheProgram_data()
{
    QTest::addColumn<bool>("byEsc");
    QTest::newRow("Esc") << true;
    QTest::newRow("Exit") << false;
}

void TestMainWindow::escAndExitEndTheProgram()
{
    QFETCH(bool, byEsc);

    TestWindow window;
    QVERIFY(QTest::qWaitForWindowActive(&window));
    window.start();
    window.pressSquare(QPoint(3, 3));
    QTest::mouseClick(window.CmdVer, Qt::LeftButton);
    QTest::mouseClick(window.CmdErase, Qt::LeftButton);
    QVERIFY(window.infoWindow());
    QVERIFY(window.passwords().form());
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));

    const QString storedBefore = TemporaryStore::value(RecordStore::nameKey(0));
    if (byEsc)
        QTest::keyClick(window.Pct, Qt::Key_Escape);
    else
        QTest::mouseClick(window.CmdExit, Qt::LeftButton);
    QVERIFY(!window.isVisible());
    QTRY_VERIFY(!window.infoWindow());
    QTRY_VERIFY(!window.passwords().form());
    QCOMPARE(TemporaryStore::value(RecordStore::nameKey(0)), storedBefore);
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
