// The information window, and what a screen reader finds in every window.
#include "design.h"
#include "frminfo.h"
#include "frmmain.h"
#include "frmpass.h"
#include "storefixture.h"
#include "testwindow.h"

#include <QAccessible>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

class TestInfo : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { DesignFont::mapToInstalledFonts(); }

    void windowAsDesigned();
    void texts();
    void iconIsTheProgramIcon();
    void infoTwiceGivesOneWindow();
    void escClosesOnlyTheInfoWindow_data();
    void escClosesOnlyTheInfoWindow();
    void everyControlHasAnAccessibleName();
};

void TestInfo::windowAsDesigned()
{
    FrmInfo info;
    QCOMPARE(info.windowTitle(), QStringLiteral("Инфо"));
    QCOMPARE(info.size(), twipsRect(0, 0, 4680, 5610).size());
    QCOMPARE(info.minimumSize(), info.maximumSize());
    QCOMPARE(info.windowFlags() & Qt::WindowType_Mask, Qt::Tool);
    QVERIFY(!(info.windowFlags() & Qt::WindowMinMaxButtonsHint));
    QCOMPARE(info.parentWidget(), nullptr);
    QVERIFY(!info.isModal());
    QCOMPARE(info.Lbl1->geometry(), twipsRect(120, 1200, 4455, 495));
    QCOMPARE(info.Lbl2->geometry(), twipsRect(120, 2040, 4455, 2055));
    QCOMPARE(info.Lbl3->geometry(), twipsRect(240, 4440, 4215, 495));
    QCOMPARE(info.CmdOK->geometry(), twipsRect(1800, 5040, 1095, 375));
    QCOMPARE(info.Image1->geometry(), twipsRect(1920, 120, 855, 855));
    QCOMPARE(info.CmdOK->text(), QStringLiteral("Окей"));
    QVERIFY(info.CmdOK->font().bold());
    QCOMPARE(info.Lbl1->font().pointSizeF(), 20.25);
    QCOMPARE(QFontInfo(info.Lbl2->font()).family(), QStringLiteral("Liberation Sans"));
    QVERIFY(info.Lbl2->wordWrap());
}

void TestInfo::texts()
{
    FrmInfo info;
    QCOMPARE(info.Lbl1->text(), QStringLiteral("Tarvel 3.2"));
    const QString rules = info.Lbl2->text();
    QCOMPARE(rules.size(), 298);
    QVERIFY(rules.startsWith(QStringLiteral(" Цель игры - побывать в каждой клетке шахмотной доски")));
    QVERIFY(rules.contains(QStringLiteral("(ходит буквой \"Г\").")));
    QVERIFY(rules.endsWith(QStringLiteral("- синим. Дерзайте!")));
    QVERIFY(!info.Lbl3->text().isEmpty());
    QVERIFY(!info.Lbl3->text().contains(QLatin1Char('\n')));
}

void TestInfo::iconIsTheProgramIcon()
{
    const QImage icon(QStringLiteral(":/tarvel.png"));
    QCOMPARE(icon.size(), QSize(32, 32));
    QVERIFY(!icon.hasAlphaChannel());
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            const int row = y / 4, column = x / 4;
            const bool red = ((column == 2 || column == 3) && row >= 1 && row <= 6)
                || ((column == 4 || column == 5) && (row == 1 || row == 2));
            const QRgb expected = red ? qRgb(255, 0, 0) : (row + column) % 2 == 0 ? qRgb(0, 0, 0) : qRgb(255, 255, 255);
            QCOMPARE(icon.pixel(x, y), expected);
        }
    }
    FrmInfo info;
    QVERIFY(info.Image1->hasScaledContents());
    QCOMPARE(info.Image1->pixmap().toImage().convertToFormat(QImage::Format_RGB32),
             icon.convertToFormat(QImage::Format_RGB32));
}

void TestInfo::infoTwiceGivesOneWindow()
{
    TestWindow window;
    QTest::mouseClick(window.CmdVer, Qt::LeftButton);
    FrmInfo *first = window.infoWindow();
    QVERIFY(first);
    QVERIFY(QTest::qWaitForWindowExposed(first));
    first->Lbl3->setText(QStringLiteral("marker")); // a rebuilt window would lose it
    QTest::mouseClick(window.CmdVer, Qt::LeftButton);
    QCOMPARE(window.infoWindow(), first);
    QCOMPARE(first->Lbl3->text(), QStringLiteral("marker"));
    const QWidgetList windows = QApplication::topLevelWidgets();
    QCOMPARE(std::count_if(windows.begin(), windows.end(), [](QWidget *w) { return qobject_cast<FrmInfo *>(w); }), 1);
}

void TestInfo::escClosesOnlyTheInfoWindow_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("Esc") << "esc";
    QTest::newRow("Окей") << "button";
    QTest::newRow("close box") << "close";
}

void TestInfo::escClosesOnlyTheInfoWindow()
{
    QFETCH(QString, how);

    TestWindow window;
    window.start();
    QTest::mouseClick(window.CmdVer, Qt::LeftButton);
    FrmInfo *info = window.infoWindow();
    QVERIFY(QTest::qWaitForWindowExposed(info));
    if (how == "esc")
        QTest::keyClick(info->CmdOK, Qt::Key_Escape);
    else if (how == "button")
        QTest::mouseClick(info->CmdOK, Qt::LeftButton);
    else
        info->close();
    QTRY_VERIFY(!window.infoWindow());
    QVERIFY(window.isVisible());
    QCOMPARE(window.TxtHod->text(), QStringLiteral("1"));
}

void TestInfo::everyControlHasAnAccessibleName()
{
    TestWindow window;
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTest::mouseClick(window.CmdVer, Qt::LeftButton);
    QTest::mouseClick(window.CmdErase, Qt::LeftButton);
    QList<QWidget *> controls = window.findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
    controls += window.FrCtrl->findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
    controls += window.infoWindow()->findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
    controls += window.passwords().form()->findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
    controls.removeAll(window.LblAvtor); // shows nothing
    QCOMPARE(controls.size(), 25);
    for (QWidget *control : std::as_const(controls)) {
        QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(control);
        QVERIFY(accessible);
        QVERIFY2(!accessible->text(QAccessible::Name).isEmpty(), control->metaObject()->className());
    }
}

QTEST_MAIN(TestInfo)
#include "tst_info.moc"
