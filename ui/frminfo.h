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

    QLabel *Lbl1;
    QLabel *Lbl2;
    QPushButton *CmdOK;
    QLabel *Lbl3;
    QLabel *Image1;

private:
    void Form_Load();
};
