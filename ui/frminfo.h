#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

// The information window: name and version, the rules, a credit and the icon.
class FrmInfo : public QDialog
{
    Q_OBJECT

public:
    FrmInfo();

    static QString titleText();
    static QString rulesText();

    QLabel *Lbl1; // the program's name and version
    QLabel *Lbl2; // the rules
    QPushButton *CmdOK;
    QLabel *Lbl3; // the credit line
    QLabel *Image1; // the program's icon

private:
    void Form_Load();
};
