#include "passwords.h"

#include "boxes.h"
#include "frmpass.h"
#include "recordstable.h"
#include "singlewindow.h"

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
    showSingleWindow(m_form, m_window, [this] {
        auto *form = new FrmPass;
        QObject::connect(form->CmdConfirm, &QPushButton::clicked, form, [this] { CheckPasswordAndClear(); });
        QObject::connect(form->CmdCansel, &QPushButton::clicked, form, [this] { ClosePasswordForm(); });
        return form;
    });
    m_form->LblText->setText(prompt);
    m_form->setWindowTitle(caption);
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
    } else {
        Boxes::inform(m_window, WrongPasswordText, QMessageBox::Critical);
    }
    m_records.LoadAndShowRecords();
}

FrmPass *Passwords::form() const
{
    return m_form;
}
