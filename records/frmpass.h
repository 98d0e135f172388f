#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

// The small dialog that takes the access password. Enter confirms, Esc and
// the close box cancel; either way it closes and is destroyed.
class FrmPass : public QDialog
{
    Q_OBJECT

public:
    FrmPass();

    QLineEdit *TxtPass;
    QLabel *Label1; // "Пароль", the field's caption
    QPushButton *CmdConfirm;
    QPushButton *CmdCansel; // Cancel, as the design spells it
    QLabel *LblText; // the question above the field
};
