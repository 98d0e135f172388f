#pragma once

#include <QFrame>
#include <QImage>

#include <map>
#include <utility>

// The board picture: a sunken frame around a picture that is kept in a
// backing image, so it survives being covered. Positions are in twips.
class BoardView : public QFrame
{
    Q_OBJECT

public:
    explicit BoardView(QWidget *parent = nullptr);

    float innerWidth() const;
    void fillBox(float x1, float y1, float x2, float y2, QRgb colour);
    void erase();

    const QImage &picture();

signals:
    void pressed(qint16 button, qint16 shift, float x, float y);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    QColor background() const;
    void applyFills();

    QImage m_picture; // in device pixels; none while the picture is blank
    // Fills wait until the press that asked for them has been handled: a square
    // painted several times in one press is painted once, and not at all when
    // it ends as it was (the target marks of a refused press).
    std::map<std::pair<int, int>, std::pair<QRect, QRgb>> m_pendingFills;
};
