#pragma once

#include "game.h"
#include "passwords.h"
#include "recordstable.h"

#include <QPointer>
#include <QWidget>

class BoardView;
class FrmInfo;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

// The main window: the board on the left, the control panel beside it.
class FrmMain : public QWidget, private GameView, private RecordsDisplay
{
    Q_OBJECT

public:
    FrmMain();
    ~FrmMain() override;

    Game &game() { return m_game; }
    RecordsTable &records() { return m_records; }
    Passwords &passwords() { return m_passwords; }
    FrmInfo *infoWindow() const;

    // The design's names: a prefix for the kind of control (Cmd button, Lbl
    // label, Txt text box, Fr frame, Pct picture), then a word, often Russian.
    BoardView *Pct; // the board picture
    QGroupBox *FrCtrl; // the control panel beside the board
    QPushButton *CmdGen; // Start ("generate" a board)
    QPushButton *CmdClear;
    QLabel *Label1[2]; // the captions of the two text boxes
    QLineEdit *TxtHod = nullptr; // the move number ("khod", a move)
    QLineEdit *TxtScore = nullptr; // the fill percentage
    QLabel *LblScore; // places and names of the hall shown
    QLabel *LblZal; // the hall's title ("zal", a hall)
    QLabel *LblSco; // the scores beside LblScore, line for line
    QPushButton *CmdErase; // clears the records behind the password
    QPushButton *CmdZal; // switches the hall
    QLabel *LblAvtor; // the author's line below the board, empty
    QPushButton *CmdExit;
    QPushButton *CmdVer; // the information window ("version")

public slots:
    void CmdGen_Click();
    void CmdClear_Click();
    void Pct_MouseDown(qint16 button, qint16 shift, float x, float y);
    void CmdZal_Click();
    void CmdErase_Click();
    void CmdVer_Click();
    void CmdExit_Click();

protected:
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void createControls();
    void finishControls();
    void createTextBoxes();
    void Form_Load();
    void layOut(QSize frameSpace);

    // GameView
    float pictureInnerWidth() const override;
    void fillBox(float x1, float y1, float x2, float y2, QRgb colour) override;
    void erasePicture() override;
    void showMoveNumber(const QString &text) override;
    void showScore(const QString &text) override;
    void gameFinished() override;

    // RecordsDisplay
    void showRecords(const QString &hallTitle, const QString &placesAndNames, const QString &scores) override;
    void saveFailed() override;

    Game m_game;
    RecordsTable m_records;
    Passwords m_passwords;
    QPointer<FrmInfo> m_info;
};
