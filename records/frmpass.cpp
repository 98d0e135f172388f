#include "frmpass.h"

#include "design.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

FrmPass::FrmPass()
    : QDialog(nullptr,
              Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
                  | Qt::MSWindowsFixedSizeDialogHint)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setFont(DesignFont::font(DesignFont::MsSansSerif, 8.25));
    setFixedSize(twipsRect(0, 0, 4680, 1875).size());

    const QFont fieldFont = DesignFont::font(DesignFont::Arial, 9.75, true);

    TxtPass = new QLineEdit(this);
    TxtPass->setGeometry(twipsRect(1560, 720, 2535, 285));
    TxtPass->setFont(fieldFont);
    TxtPass->setEchoMode(QLineEdit::Password);
    TxtPass->setStyleSheet(QStringLiteral("QLineEdit { lineedit-password-character: 35; }")); // '#'

    Label1 = new QLabel(QStringLiteral("Пароль"), this);
    Label1->move(twipsPoint(QPoint(600, 720)));
    Label1->setFont(fieldFont);
    Label1->adjustSize();
    Label1->setBuddy(TxtPass);

    CmdConfirm = new QPushButton(QStringLiteral("Подтвердить"), this);
    CmdConfirm->setGeometry(twipsRect(600, 1320, 1575, 375));
    CmdConfirm->setDefault(true);

    CmdCansel = new QPushButton(QStringLiteral("Отмена"), this);
    CmdCansel->setGeometry(twipsRect(2520, 1320, 1575, 375));

    // Reaches down to the password row: Linux fonts need three lines for the question.
    LblText = new QLabel(this);
    LblText->setGeometry(twipsRect(120, 120, 4455, 600));
    LblText->setWordWrap(true);
    LblText->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    setTabOrder(TxtPass, CmdConfirm);
    setTabOrder(CmdConfirm, CmdCansel);
    TxtPass->setFocus();
}
