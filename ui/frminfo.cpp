#include "frminfo.h"

#include "design.h"
#include "version.h"

#include <QLabel>
#include <QPushButton>

namespace {
QLabel *makeLabel(QRect twips, const QFont &font, QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setGeometry(twips);
    label->setFont(font);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}
}

FrmInfo::FrmInfo()
    : QDialog(nullptr,
              Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
                  | Qt::MSWindowsFixedSizeDialogHint)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Инфо"));
    setFixedSize(twipsRect(0, 0, 4680, 5610).size());

    Lbl1 = makeLabel(twipsRect(120, 1200, 4455, 495), DesignFont::font(DesignFont::Arial, 20.25), this);
    Lbl1->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Lbl2 = makeLabel(twipsRect(120, 2040, 4455, 2055), DesignFont::font(DesignFont::Arial, 9.75), this);

    // Esc and the close box close the window like this button.
    CmdOK = new QPushButton(QStringLiteral("Окей"), this);
    CmdOK->setGeometry(twipsRect(1800, 5040, 1095, 375));
    CmdOK->setFont(DesignFont::font(DesignFont::MsSansSerif, 8.25, true));
    connect(CmdOK, &QPushButton::clicked, this, &QDialog::close);

    Lbl3 = makeLabel(twipsRect(240, 4440, 4215, 495), DesignFont::font(DesignFont::Arial, 9.75, true), this);

    Image1 = new QLabel(this);
    Image1->setGeometry(twipsRect(1920, 120, 855, 855));
    Image1->setPixmap(QPixmap(QStringLiteral(":/tarvel.png")));
    Image1->setScaledContents(true);
    Image1->setAccessibleName(QStringLiteral("Значок Tarvel"));

    CmdOK->setFocus();
    Form_Load();
}

QString FrmInfo::titleText()
{
    return QStringLiteral("Tarvel ") + QString::number(TarvelVersion::major) + QLatin1Char('.')
        + QString::number(TarvelVersion::minor);
}

QString FrmInfo::rulesText()
{
    return QStringLiteral(
        " Цель игры - побывать в каждой клетке шахмотной доски передвигая фигуру Конь (ходит буквой \"Г\"). Причем "
        "Конь должен побывать в каждой клетке только один раз! Клетка, где Конь находится в данный момент, отмечена "
        "пурпурным цветом, где был раньше, - красным, а поля, куда можно идти - синим. Дерзайте!");
}

void FrmInfo::Form_Load()
{
    Lbl1->setText(titleText());
    Lbl2->setText(rulesText());
    Lbl3->setText(QStringLiteral("Сделано командой разработчиков Tarvel."));
}
