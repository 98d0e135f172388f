// Clearing the records behind the password, through the real dialog.
#include "design.h"
#include "frmmain.h"
#include "frmpass.h"
#include "modalanswers.h"
#include "storefixture.h"
#include "testwindow.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {
const QString Blank(20, QLatin1Char(' '));
const QString Prompt = QStringLiteral(
    "Чтобы очистить таблицу рекордов, необходимо ввести пароль доступа. Готовы ли вы сделать это прямо сейчас?");

void typeInto(QWidget *field, const QString &text)
{
    for (QChar ch : text)
        QTest::sendKeyEvent(QTest::Click, field, Qt::Key_unknown, QString(ch), Qt::NoModifier);
}

FrmPass *openDialog(FrmMain &window)
{
    QTest::mouseClick(window.CmdErase, Qt::LeftButton);
    FrmPass *dialog = window.passwords().form();
    if (dialog && !QTest::qWaitForWindowExposed(dialog))
        return nullptr;
    return dialog;
}

bool storeHoldsDefaultTable()
{
    for (int i = 0; i < RecordCount; ++i) {
        if (TemporaryStore::value(RecordStore::scoreKey(i)) != QString::number(20 - i))
            return false;
    }
    return true;
}

bool storeIsCleared()
{
    for (int i = 0; i < RecordCount; ++i) {
        if (TemporaryStore::value(RecordStore::nameKey(i)) != Blank
            || TemporaryStore::value(RecordStore::scoreKey(i)) != QStringLiteral("0"))
            return false;
    }
    return true;
}
}

class TestPasswords : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { DesignFont::mapToInstalledFonts(); }

    void dialogAsDesigned();
    void rightPasswordClearsTheTable();
    void wrongPasswordKeepsTheTable_data();
    void wrongPasswordKeepsTheTable();
    void oneDialogAtMost();
    void cancellingClearsNothing_data();
    void cancellingClearsNothing();
    void clearingKeepsTheHallOfShame();
};

void TestPasswords::dialogAsDesigned()
{
    TestWindow window;
    QVERIFY(window.passwords().AccessPassword.isEmpty());
    FrmPass *dialog = openDialog(window);
    QVERIFY(dialog);
    QCOMPARE(window.passwords().AccessPassword, QStringLiteral("mirvolet"));
    QCOMPARE(dialog->windowTitle(), QStringLiteral("Tarvel"));
    QCOMPARE(dialog->LblText->text(), Prompt);
    QCOMPARE(dialog->parentWidget(), nullptr);
    QVERIFY(!dialog->isModal());
    QCOMPARE(dialog->windowFlags() & Qt::WindowType_Mask, Qt::Tool);
    QVERIFY(!(dialog->windowFlags() & Qt::WindowMinMaxButtonsHint));
    QCOMPARE(dialog->size(), QSize(312, 125));
    QCOMPARE(dialog->minimumSize(), dialog->maximumSize());
    QCOMPARE(dialog->TxtPass->geometry(), twipsRect(1560, 720, 2535, 285));
    QCOMPARE(dialog->CmdConfirm->geometry(), twipsRect(600, 1320, 1575, 375));
    QCOMPARE(dialog->CmdCansel->geometry(), twipsRect(2520, 1320, 1575, 375));
    QCOMPARE(dialog->Label1->text(), QStringLiteral("Пароль"));
    QVERIFY(dialog->CmdConfirm->isDefault());
    QCOMPARE(dialog->CmdConfirm->text(), QStringLiteral("Подтвердить"));
    QCOMPARE(dialog->CmdCansel->text(), QStringLiteral("Отмена"));
    QCOMPARE(dialog->focusWidget(), static_cast<QWidget *>(dialog->TxtPass));

    typeInto(dialog->TxtPass, QStringLiteral("secret"));
    QCOMPARE(dialog->TxtPass->displayText(), QStringLiteral("######"));
    QTest::keyClick(dialog->TxtPass, Qt::Key_Tab);
    QCOMPARE(dialog->focusWidget(), static_cast<QWidget *>(dialog->CmdConfirm));
    QTest::keyClick(dialog->CmdConfirm, Qt::Key_Tab);
    QCOMPARE(dialog->focusWidget(), static_cast<QWidget *>(dialog->CmdCansel));
}

void TestPasswords::rightPasswordClearsTheTable()
{
    TestWindow window;
    FrmPass *dialog = openDialog(window);
    typeInto(dialog->TxtPass, QStringLiteral("mirvolet"));
    ModalAnswers answers; // none expected
    QTest::keyClick(dialog->TxtPass, Qt::Key_Return);
    QTRY_VERIFY(!window.passwords().form());
    QVERIFY(answers.seen.isEmpty());
    QVERIFY(storeIsCleared());
    QVERIFY(window.LblScore->text().startsWith("1.  " + Blank + "\n\n2.  "));
    QCOMPARE(window.LblSco->text(), QStringLiteral(".0%\n\n").repeated(10));
}

void TestPasswords::wrongPasswordKeepsTheTable_data()
{
    QTest::addColumn<QString>("typed");
    QTest::newRow("other case") << "Mirvolet";
    QTest::newRow("space before") << " mirvolet";
    QTest::newRow("space after") << "mirvolet ";
    QTest::newRow("empty") << "";
    QTest::newRow("Cyrillic") << "мирволет";
}

void TestPasswords::wrongPasswordKeepsTheTable()
{
    QFETCH(QString, typed);

    TestWindow window;
    FrmPass *dialog = openDialog(window);
    typeInto(dialog->TxtPass, typed);
    TemporaryStore::set(RecordStore::nameKey(0), QStringLiteral("Changed outside")); // shown after the box

    ModalAnswers answers;
    answers.then(ModalAnswers::press(QStringLiteral("ОК")));
    QTest::mouseClick(dialog->CmdConfirm, Qt::LeftButton);
    QVERIFY(answers.allAnswered());
    QTRY_VERIFY(!window.passwords().form());

    const SeenBox box = answers.seen.value(0);
    QCOMPARE(box.title, QStringLiteral("Tarvel"));
    QCOMPARE(box.text, QStringLiteral("Введен неверный пароль.\n\nДоступ в систему закрыт."));
    QCOMPARE(box.icon, QMessageBox::Critical);
    QCOMPARE(box.buttons, QStringList { QStringLiteral("ОК") });
    QVERIFY(storeHoldsDefaultTable());
    QVERIFY(window.LblScore->text().startsWith(QStringLiteral("1.  Changed outside     \n")));
}

void TestPasswords::oneDialogAtMost()
{
    TestWindow window;
    FrmPass *first = openDialog(window);
    typeInto(first->TxtPass, QStringLiteral("mirv"));
    first->move(first->pos() + QPoint(30, 20));
    const QPoint moved = first->pos();
    FrmPass *second = openDialog(window);
    QCOMPARE(second, first);
    QCOMPARE(second->TxtPass->text(), QStringLiteral("mirv"));
    QCOMPARE(second->pos(), moved);
    const QWidgetList windows = QApplication::topLevelWidgets();
    QCOMPARE(std::count_if(windows.begin(), windows.end(), [](QWidget *w) { return qobject_cast<FrmPass *>(w); }), 1);
}

void TestPasswords::cancellingClearsNothing_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("Cancel button") << "button";
    QTest::newRow("Esc") << "esc";
    QTest::newRow("close box") << "close";
}

void TestPasswords::cancellingClearsNothing()
{
    QFETCH(QString, how);

    TestWindow window;
    FrmPass *dialog = openDialog(window);
    typeInto(dialog->TxtPass, QStringLiteral("mirvolet"));
    ModalAnswers answers;
    if (how == "button")
        QTest::mouseClick(dialog->CmdCansel, Qt::LeftButton);
    else if (how == "esc")
        QTest::keyClick(dialog->TxtPass, Qt::Key_Escape);
    else
        dialog->close();
    QTRY_VERIFY(!window.passwords().form());
    QVERIFY(answers.seen.isEmpty());
    QVERIFY(storeHoldsDefaultTable());
    QVERIFY(window.isVisible());
}

void TestPasswords::clearingKeepsTheHallOfShame()
{
    TestWindow window;
    QTest::mouseClick(window.CmdZal, Qt::LeftButton);
    FrmPass *dialog = openDialog(window);
    typeInto(dialog->TxtPass, QStringLiteral("mirvolet"));
    QTest::mouseClick(dialog->CmdConfirm, Qt::LeftButton);
    QTRY_VERIFY(!window.passwords().form());
    QVERIFY(storeIsCleared());
    QCOMPARE(window.LblZal->text(), QStringLiteral("Зал позора"));
    QVERIFY(window.LblScore->text().startsWith("11.  " + Blank + "\n\n12.  "));
    QVERIFY(window.LblScore->text().endsWith("20.  " + Blank + "\n\n"));
}

QTEST_MAIN(TestPasswords)
#include "tst_passwords.moc"
