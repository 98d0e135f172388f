#include "boardaccessible.h"

#include "boardview.h"
#include "gamestate.h"

#include <QPointer>

namespace {
// One square of the board: no widget of its own, its texts and place asked of the board.
class SquareAccessible : public QAccessibleInterface
{
public:
    SquareAccessible(BoardView *board, int index)
        : m_board(board)
        , m_index(index)
    {
    }

    bool isValid() const override { return m_board; }
    QObject *object() const override { return nullptr; }
    QWindow *window() const override { return m_board->window()->windowHandle(); }
    QAccessibleInterface *parent() const override { return QAccessible::queryAccessibleInterface(m_board); }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    QAccessibleInterface *focusChild() const override { return nullptr; }
    void setText(QAccessible::Text, const QString &) override { }
    QAccessible::Role role() const override { return QAccessible::ListItem; }

    QString text(QAccessible::Text t) const override
    {
        switch (t) {
        case QAccessible::Name: return m_board->squareName(m_index);
        case QAccessible::Description: return m_board->squareDescription(m_index);
        default: return QString();
        }
    }

    QRect rect() const override
    {
        const QRect square = m_board->squareRect(QPoint(m_index % BoardSide, m_index / BoardSide));
        return QRect(m_board->mapToGlobal(square.topLeft()), square.size());
    }

    QAccessible::State state() const override
    {
        QAccessible::State state;
        state.focusable = true;
        const QPoint cursor = m_board->cursor();
        state.focused = m_board->hasFocus() && cursor.y() * BoardSide + cursor.x() == m_index;
        state.invisible = !m_board->isVisible();
        return state;
    }

private:
    QPointer<BoardView> m_board;
    int m_index;
};

QAccessibleInterface *boardFactory(const QString &className, QObject *object)
{
    if (className == QLatin1String("BoardView") && object && object->isWidgetType())
        return new BoardAccessible(static_cast<BoardView *>(object));
    return nullptr;
}
}

BoardAccessible::BoardAccessible(BoardView *board)
    : QAccessibleWidget(board, QAccessible::List)
{
}

BoardAccessible::~BoardAccessible()
{
    for (QAccessible::Id id : m_squares) {
        if (id)
            QAccessible::deleteAccessibleInterface(id);
    }
}

void BoardAccessible::install()
{
    static const bool installed = (QAccessible::installFactory(boardFactory), true);
    Q_UNUSED(installed);
}

void BoardAccessible::renewSquare(BoardView *board, int index)
{
    auto *accessible = static_cast<BoardAccessible *>(QAccessible::queryAccessibleInterface(board));
    QAccessible::Id &id = accessible->m_squares[index];
    if (id)
        QAccessible::deleteAccessibleInterface(id);
    id = 0;
}

BoardView *BoardAccessible::board() const
{
    return static_cast<BoardView *>(widget());
}

int BoardAccessible::childCount() const
{
    return SquareCount;
}

QAccessibleInterface *BoardAccessible::child(int index) const
{
    if (index < 0 || index >= SquareCount)
        return nullptr;
    QAccessible::Id &id = m_squares[index];
    if (!id)
        id = QAccessible::registerAccessibleInterface(new SquareAccessible(board(), index));
    return QAccessible::accessibleInterface(id);
}

int BoardAccessible::indexOfChild(const QAccessibleInterface *child) const
{
    const QAccessible::Id id = QAccessible::uniqueId(const_cast<QAccessibleInterface *>(child));
    const auto found = std::find(std::begin(m_squares), std::end(m_squares), id);
    return id && found != std::end(m_squares) ? int(found - std::begin(m_squares)) : -1;
}

QAccessibleInterface *BoardAccessible::childAt(int x, int y) const
{
    const QPoint inside = board()->mapFromGlobal(QPoint(x, y)) - board()->contentsRect().topLeft();
    const int side = board()->contentsRect().width();
    if (side <= 0 || inside.x() < 0 || inside.y() < 0 || inside.x() >= side || inside.y() >= side)
        return nullptr;
    return child(inside.y() * BoardSide / side * BoardSide + inside.x() * BoardSide / side);
}

QAccessibleInterface *BoardAccessible::focusChild() const
{
    const QPoint cursor = board()->cursor();
    if (!board()->hasFocus() || !isOnBoard(cursor.x(), cursor.y()))
        return nullptr;
    return child(cursor.y() * BoardSide + cursor.x());
}
