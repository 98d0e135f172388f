#include "frmmain.h"

#include "accessibleroles.h"
#include "boardspeech.h"
#include "boardview.h"
#include "boxes.h"
#include "compositor.h"
#include "design.h"
#include "frminfo.h"
#include "mainlayout.h"
#include "recordentry.h"
#include "singlewindow.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>

namespace {
const QString Caption = QStringLiteral("Tarvel");
const QString ErasePrompt = QStringLiteral(
    "Чтобы очистить таблицу рекордов, необходимо ввести пароль доступа. Готовы ли вы сделать это прямо сейчас?");
const QString SaveFailedText = QStringLiteral("Не удалось сохранить таблицу рекордов.");

QPushButton *makeButton(const QString &caption, QRect twips, QWidget *parent)
{
    auto *button = new QPushButton(caption, parent);
    button->setGeometry(twips);
    // Enter clicks the focused button, as Space does.
    button->setAutoDefault(true);
    return button;
}

QLabel *makeLabel(const QString &caption, QRect twips, const QFont &font, QWidget *parent)
{
    auto *label = new QLabel(caption, parent);
    label->setGeometry(twips);
    label->setFont(font);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

QLineEdit *makeReadOnlyField(QRect twips, QWidget *parent)
{
    auto *field = new QLineEdit(parent);
    field->setGeometry(twips);
    field->setFont(DesignFont::font(DesignFont::Arial, 14.25));
    field->setReadOnly(true);
    field->show(); // its window may be on screen already
    return field;
}
}

FrmMain::FrmMain()
    : QWidget(nullptr,
              Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
                  | Qt::MSWindowsFixedSizeDialogHint)
    , m_game(*this)
    , m_records(*this)
    , m_passwords(m_records, this)
{
    AccessibleRoles::install();
    setWindowTitle(Caption);
    setWindowIcon(QIcon(QStringLiteral(":/tarvel.png")));
    setFont(DesignFont::font(DesignFont::MsSansSerif, 8.25));
    createControls();
    Form_Load();
    // What needs the font database or the accessibility bridge waits until the
    // window is on screen; it is done before the first paint all the same.
    QMetaObject::invokeMethod(this, &FrmMain::finishControls, Qt::QueuedConnection);
}

// The information window has no owner window, so it is ours to destroy.
FrmMain::~FrmMain()
{
    delete m_info;
}

void FrmMain::createControls()
{
    const QFont boldButtonFont = DesignFont::font(DesignFont::MsSansSerif, 8.25, true);
    const QFont captionFont = DesignFont::font(DesignFont::Arial, 11.25, true);

    Pct = new BoardView(this);
    Pct->setGame(&m_game);
    Pct->setGeometry(twipsRect(120, 240, 3015, 3375));
    connect(Pct, &BoardView::pressed, this, &FrmMain::Pct_MouseDown);

    FrCtrl = new QGroupBox(this);
    FrCtrl->setGeometry(twipsRect(3240, 120, 3615, 7575));

    CmdGen = makeButton(QStringLiteral("Старт"), twipsRect(240, 240, 1575, 375), FrCtrl);
    CmdGen->setFont(boldButtonFont);
    CmdClear = makeButton(QStringLiteral("Очистка"), twipsRect(240, 720, 1575, 375), FrCtrl);
    CmdClear->setFont(boldButtonFont);

    Label1[0] = makeLabel(QStringLiteral("Номер хода"), twipsRect(360, 1800, 1320, 270), captionFont, FrCtrl);
    Label1[1] = makeLabel(QStringLiteral("Заполнено"), twipsRect(360, 2280, 1215, 270), captionFont, FrCtrl);

    LblScore = makeLabel(QString(), twipsRect(120, 3120, 2775, 4335), DesignFont::font(DesignFont::Arial, 9), FrCtrl);
    LblZal
        = makeLabel(QString(), twipsRect(120, 2760, 3345, 285), DesignFont::font(DesignFont::Arial, 12, true), FrCtrl);
    LblZal->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    LblSco
        = makeLabel(QString(), twipsRect(2880, 3120, 615, 4335), DesignFont::font(DesignFont::Arial, 9, true), FrCtrl);

    CmdErase = makeButton(QStringLiteral("Удал. рекорды"), twipsRect(2040, 240, 1335, 375), FrCtrl);
    CmdZal = makeButton(QStringLiteral("Залы"), twipsRect(2040, 720, 1335, 375), FrCtrl);

    LblAvtor
        = makeLabel(QString(), twipsRect(120, 3720, 60, 240), DesignFont::font(DesignFont::Arial, 9.75, true), this);

    CmdExit = makeButton(QStringLiteral("Выход"), twipsRect(240, 1200, 1575, 375), FrCtrl);
    CmdExit->setFont(boldButtonFont);
    CmdVer = makeButton(QStringLiteral("Инфо"), twipsRect(2040, 1200, 1335, 375), FrCtrl);

    connect(CmdGen, &QPushButton::clicked, this, &FrmMain::CmdGen_Click);
    connect(CmdClear, &QPushButton::clicked, this, &FrmMain::CmdClear_Click);
    connect(CmdZal, &QPushButton::clicked, this, &FrmMain::CmdZal_Click);
    connect(CmdErase, &QPushButton::clicked, this, &FrmMain::CmdErase_Click);
    connect(CmdVer, &QPushButton::clicked, this, &FrmMain::CmdVer_Click);
    connect(CmdExit, &QPushButton::clicked, this, &FrmMain::CmdExit_Click);
    // Exit is the cancel button: Esc anywhere in the window clicks it.
    connect(new QShortcut(Qt::Key_Escape, this), &QShortcut::activated, CmdExit, &QPushButton::click);

    Pct->setFocus();
}

// A text box lays out its text as soon as it exists, and the first one loads the
// font database (about 7 ms), so the two are made once the window is on screen,
// still before its first paint, or when first written to, should that be earlier.
void FrmMain::createTextBoxes()
{
    if (TxtHod)
        return;
    TxtHod = makeReadOnlyField(twipsRect(1920, 1800, 1215, 375), FrCtrl);
    TxtScore = makeReadOnlyField(twipsRect(1920, 2280, 1215, 375), FrCtrl);
    // The captions name the fields for a screen reader.
    Label1[0]->setBuddy(TxtHod);
    Label1[1]->setBuddy(TxtScore);

    QWidget *tabOrder[] = { Pct, CmdGen, CmdClear, TxtHod, TxtScore, CmdErase, CmdZal, CmdExit, CmdVer };
    for (size_t i = 1; i < std::size(tabOrder); ++i)
        setTabOrder(tabOrder[i - 1], tabOrder[i]);
}

void FrmMain::finishControls()
{
    createTextBoxes();
    for (QLabel *label : { Label1[0], Label1[1], LblAvtor })
        label->adjustSize();
    Pct->startAccessibleTexts();
    FrCtrl->setAccessibleName(QStringLiteral("Управление"));
    // The places are read with their scores (see showRecords); the author's line is empty.
    AccessibleRoles::leaveOut(LblSco);
    AccessibleRoles::leaveOut(LblAvtor);
}

void FrmMain::Form_Load()
{
    const QRect screen = this->screen()->availableGeometry();
    layOut(screen.size());
    if (compositorPlacesWindows()) {
        // All the space the compositor can give, laid out again whenever it changes (see resizeEvent).
        setWindowState(Qt::WindowMaximized);
    } else {
        move(screen.topLeft());
        setFixedSize(screen.size());
        // The window's outer size is the screen's: a window manager's frame comes off the inside.
        new FrameWatcher(this, [this, screen](QMargins frame) {
            if (!frame.isNull()) {
                setFixedSize(screen.size().shrunkBy(frame));
                move(screen.topLeft());
            }
        });
    }
    m_records.showHallOfFame();
}

void FrmMain::layOut(QSize frameSpace)
{
    const MainLayout layout = mainLayoutForSpace(frameSpace * TwipsPerPixel);
    Pct->setGeometry(twipsRect(layout.picture));
    FrCtrl->move(twipsPoint(layout.panel));
    LblAvtor->move(twipsPoint(layout.author));
}

void FrmMain::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (compositorPlacesWindows() && windowHandle())
        layOut(size().grownBy(windowHandle()->frameMargins()));
}

void FrmMain::CmdGen_Click()
{
    Pct->endShowing();
    Pct->hideCursor();
    m_game.start();
}

void FrmMain::CmdClear_Click()
{
    Pct->endShowing();
    m_game.clear();
}

void FrmMain::Pct_MouseDown(qint16 button, qint16 shift, float x, float y)
{
    Q_UNUSED(shift);
    m_game.press(button, x, y);
}

void FrmMain::CmdZal_Click()
{
    m_records.switchHall();
}

void FrmMain::CmdErase_Click()
{
    m_passwords.OpenPasswordForm(ErasePrompt, windowTitle());
}

void FrmMain::CmdVer_Click()
{
    showSingleWindow(m_info, this, [] { return new FrmInfo; });
}

void FrmMain::CmdExit_Click()
{
    close();
}

void FrmMain::closeEvent(QCloseEvent *event)
{
    // The program ends at once, with its secondary windows.
    m_passwords.ClosePasswordForm();
    if (m_info)
        m_info->close();
    event->accept();
    QCoreApplication::quit();
}

float FrmMain::pictureInnerWidth() const
{
    return Pct->measureInnerWidth();
}

void FrmMain::fillBox(float x1, float y1, float x2, float y2, QRgb colour)
{
    Pct->fillBox(x1, y1, x2, y2, colour);
}

void FrmMain::erasePicture()
{
    Pct->erase();
}

void FrmMain::showMoveNumber(const QString &text)
{
    createTextBoxes();
    TxtHod->setText(text);
}

void FrmMain::showScore(const QString &text)
{
    createTextBoxes();
    TxtScore->setText(text);
    Pct->setGameText(BoardSpeech::gameText(TxtHod->text(), text));
}

void FrmMain::gameFinished()
{
    enterFinishedGame(this, m_records, m_game.state().FillPercent);
}

void FrmMain::showRecords(const QString &hallTitle, const QString &placesAndNames, const QString &scores)
{
    LblZal->setText(hallTitle);
    LblScore->setText(Boxes::forDisplay(placesAndNames));
    LblSco->setText(Boxes::forDisplay(scores));
    // A screen reader hears each place with its score, "1. Quib, 20.0%", a place to a line.
    const QStringList names = placesAndNames.split(QStringLiteral("\r\r"), Qt::SkipEmptyParts);
    const QStringList points = scores.split(QStringLiteral("\r\r"), Qt::SkipEmptyParts);
    QStringList places;
    for (int i = 0; i < names.size(); ++i)
        places << names[i].simplified() + QStringLiteral(", ") + points.value(i);
    LblScore->setAccessibleName(places.join(QLatin1Char('\n')));
}

void FrmMain::saveFailed()
{
    Boxes::inform(this, SaveFailedText, QMessageBox::Critical);
}

FrmInfo *FrmMain::infoWindow() const
{
    return m_info;
}
