#include "passwords.h"

#include "boxes.h"
#include "frmpass.h"
#include "recordstable.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {
const QString Password = QStringLiteral("mirvolet");
const QString WrongPasswordText = QStringLiteral("Введен неверный пароль.\r\rДоступ в систему закрыт.");
}

Passwords::Passwords(RecordsTable &records, QWidget *window)
    : m_records(records)
    , m_window(window)
{
}

// The dialog has no owner window, so it is ours to destroy.
Passwords::~Passwords()
{
    delete m_form;
}

void Passwords::OpenPasswordForm(const QString &prompt, const QString &caption)
{
    AccessPassword = Password;
    if (!m_form) {
        m_form = new FrmPass;
        QObject::connect(m_form->CmdConfirm, &QPushButton::clicked, m_form, [this] { CheckPasswordAndClear(); });
        QObject::connect(m_form->CmdCansel, &QPushButton::clicked, m_form, [this] { ClosePasswordForm(); });
    }
    m_form->LblText->setText(prompt);
    m_form->setWindowTitle(caption);
    m_form->show();
    m_form->raise();
    m_form->activateWindow();
}

void Passwords::ClosePasswordForm()
{
    if (m_form)
        m_form->close();
}

void Passwords::CheckPasswordAndClear()
{
    const QString typed = m_form ? m_form->TxtPass->text() : QString();
    ClosePasswordForm();
    if (typed == AccessPassword) {
        m_records.clearAll();
        m_records.SaveRecords();
    } else {
        Boxes::inform(m_window, WrongPasswordText, QMessageBox::Critical);
    }
    m_records.LoadAndShowRecords();
}

FrmPass *Passwords::form() const
{
    return m_form;
}
