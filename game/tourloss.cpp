#include "tourloss.h"

#include "gamestate.h"
#include "tour.h"

#include <QtAlgorithms>

#include <array>
#include <utility>

namespace {
using Squares = quint64; // a set of squares, one bit each, square (column, row) at bit row * 8 + column

constexpr Squares bit(int square)
{
    return Squares(1) << square;
}

int squareIndex(QPoint square)
{
    return square.y() * BoardSide + square.x();
}

QPoint squareAt(int index)
{
    return QPoint(index % BoardSide, index / BoardSide);
}

int count(Squares squares)
{
    return int(qPopulationCount(squares));
}

int first(Squares squares)
{
    return int(qCountTrailingZeroBits(squares));
}

// The squares of a8's colour, where column + row is even; a jump always lands on the other colour.
constexpr Squares A8Colour = 0xAA55AA55AA55AA55;

const std::array<Squares, SquareCount> &jumpsFrom()
{
    static const auto table = [] {
        std::array<Squares, SquareCount> jumps {};
        for (int square = 0; square < SquareCount; ++square) {
            const QPoint from = squareAt(square);
            forEachJump(from.x(), from.y(), [&](int column, int row) {
                return jumps[square] |= bit(squareIndex(QPoint(column, row))), true;
            });
        }
        return jumps;
    }();
    return table;
}

enum class Answer { Found, None, GaveUp };

// Whether a path of jumps from `head` passes every free square once. The search decides the path's jumps
// (edges) anywhere on the board, not only from its head, and draws every consequence of a decision at once:
// - every square has two edges on the path, except the head and the path's far end, which have one;
// - a square with only as many possible edges as it needs takes them all, one that has all it needs drops
//   the rest, and an edge that would close a loop is dropped;
// - a square with a single possible edge is the far end; there is one, of the colour the path's length gives;
// - the squares must stay connected by possible edges.
// What is left is settled by trying an edge at the square with the fewest choices, then the search without it.
class PathSearch
{
public:
    PathSearch(const std::function<bool()> &stopped, qint64 budget)
        : m_stopped(stopped)
        , m_budget(budget)
    {
    }

    // On Found, `path` holds the head and every free square in the order of the path.
    Answer run(Squares visited, int head, QList<QPoint> &path)
    {
        const Squares free = ~visited;
        const int length = count(free);
        const Squares headColour = A8Colour & bit(head) ? A8Colour : ~A8Colour;
        // the path's squares alternate colours, the head's own colour on every second one
        if (count(free & headColour) != length / 2)
            return Answer::None;
        m_head = head;
        m_all = free | bit(head);
        m_size = length + 1;
        m_endColour = free & (length % 2 ? ~headColour : headColour);
        State &s = m_state;
        s.end = -1;
        for (int square = 0; square < SquareCount; ++square) {
            s.possible[square] = m_all & bit(square) ? jumpsFrom()[square] & m_all : 0;
            s.chosen[square] = 0;
            s.chainEnd[square] = qint8(square);
            s.chainSize[square] = 1;
        }
        m_pending = m_all;
        const Answer answer = search();
        path.clear();
        for (int previous = -1, square = head; answer == Answer::Found;) {
            path << squareAt(square);
            const Squares next = s.chosen[square] & ~(previous >= 0 ? bit(previous) : 0);
            if (!next)
                break;
            previous = std::exchange(square, first(next));
        }
        return answer;
    }

private:
    struct State
    {
        Squares possible[SquareCount]; // the edges not yet ruled out, chosen ones included
        Squares chosen[SquareCount];
        qint8 chainEnd[SquareCount]; // for a square at an end of a chain of chosen edges, the chain's other end
        quint8 chainSize[SquareCount];
        int end; // the path's far end, -1 while unknown
    };

    int needs(int square) const { return square == m_head || square == m_state.end ? 1 : 2; }

    void dropEdge(int a, int b)
    {
        m_state.possible[a] &= ~bit(b);
        m_state.possible[b] &= ~bit(a);
        m_pending |= bit(a) | bit(b);
    }

    bool chooseEdge(int a, int b)
    {
        State &s = m_state;
        const int endA = s.chainEnd[a], endB = s.chainEnd[b];
        if (endA == b)
            return false; // a loop
        s.chosen[a] |= bit(b);
        s.chosen[b] |= bit(a);
        m_pending |= bit(a) | bit(b);
        const int size = s.chainSize[endA] + s.chainSize[endB];
        s.chainEnd[endA] = qint8(endB);
        s.chainEnd[endB] = qint8(endA);
        s.chainSize[endA] = s.chainSize[endB] = quint8(size);
        if (size == m_size)
            return true;
        if ((endA == m_head && endB == s.end) || (endB == m_head && endA == s.end))
            return false; // the path is closed short of the squares it must pass
        if (s.possible[endA] & ~s.chosen[endA] & bit(endB))
            dropEdge(endA, endB);
        return true;
    }

    bool setEnd(int square)
    {
        State &s = m_state;
        if (s.end >= 0 || !(m_endColour & bit(square)))
            return s.end == square;
        s.end = square;
        m_pending |= m_all;
        return !(s.chainEnd[square] == m_head && s.chainSize[square] < m_size);
    }

    bool settle()
    {
        State &s = m_state;
        while (m_pending) {
            const int square = first(m_pending);
            m_pending &= m_pending - 1;
            const Squares possible = s.possible[square], chosen = s.chosen[square];
            const int choices = count(possible), taken = count(chosen);
            if (choices == 1 && square != m_head && !setEnd(square))
                return false;
            const int wanted = needs(square);
            if (taken > wanted || choices < wanted)
                return false;
            if (taken == wanted && choices > taken) {
                for (Squares rest = possible & ~chosen; rest; rest &= rest - 1)
                    dropEdge(square, first(rest));
            } else if (choices == wanted && taken < wanted
                       && (wanted == 1 || s.end >= 0 || !(m_endColour & bit(square)))) {
                // while the far end is unknown, a square of its colour with two edges might be it
                for (Squares rest = possible & ~chosen; rest; rest &= rest - 1)
                    if (!chooseEdge(square, first(rest)))
                        return false;
            }
        }
        return true;
    }

    bool connected() const
    {
        Squares reached = bit(m_head);
        for (Squares front = reached; front;) {
            Squares next = 0;
            for (; front; front &= front - 1)
                next |= m_state.possible[first(front)];
            front = next & ~reached;
            reached |= front;
        }
        return reached == m_all;
    }

    Answer search()
    {
        if (--m_budget < 0 || (m_stopped && m_budget % 1024 == 0 && m_stopped()))
            return Answer::GaveUp;
        if (!settle() || !connected())
            return Answer::None;
        // the square with the fewest open edges, among those still short of edges
        int square = -1, fewest = JumpCount + 1;
        for (Squares rest = m_all; rest; rest &= rest - 1) {
            const int candidate = first(rest);
            const int open = count(m_state.possible[candidate] & ~m_state.chosen[candidate]);
            if (open > 0 && open < fewest && count(m_state.chosen[candidate]) < needs(candidate))
                square = candidate, fewest = open;
        }
        if (square < 0)
            return Answer::Found;
        // its neighbour with the fewest choices, as Warnsdorff's rule would take
        int neighbour = -1;
        fewest = SquareCount;
        for (Squares rest = m_state.possible[square] & ~m_state.chosen[square]; rest; rest &= rest - 1) {
            if (count(m_state.possible[first(rest)]) < fewest)
                neighbour = first(rest), fewest = count(m_state.possible[neighbour]);
        }
        const State before = m_state;
        m_pending = 0;
        if (chooseEdge(square, neighbour)) {
            const Answer answer = search();
            if (answer != Answer::None)
                return answer;
        }
        m_state = before;
        m_pending = 0;
        dropEdge(square, neighbour);
        return search();
    }

    const std::function<bool()> &m_stopped;
    qint64 m_budget;
    int m_head = 0;
    Squares m_all = 0; // the head and the free squares
    int m_size = 0;
    Squares m_endColour = 0; // the free squares that can be the far end
    Squares m_pending = 0; // squares whose edges changed since they were last looked at
    State m_state {};
};
}

TourLoss whereTourWasLost(const QList<QPoint> &route, const std::function<bool()> &stopped, qint64 budget)
{
    if (route.isEmpty())
        return {};
    if (route.size() >= SquareCount)
        return { int(route.size()), true, route };
    PathSearch search(stopped, budget);
    // Scanning back from the end: a beginning that no tour continues is mostly refuted at once, and the
    // first one continued is the answer, the one after it refuted just before (a tour that continues a
    // beginning continues every shorter one). A search that gives up spends the whole budget.
    Squares visited = 0;
    QList<Squares> visitedBy { 0 };
    for (QPoint square : route)
        visitedBy << (visited |= bit(squareIndex(square)));
    QList<QPoint> rest;
    for (int kept = int(route.size()); kept >= 1; --kept) {
        const Answer answer = search.run(visitedBy[kept], squareIndex(route[kept - 1]), rest);
        if (stopped && stopped())
            return {};
        if (answer == Answer::Found)
            return { kept, true, route.first(kept) + rest.mid(1) };
        if (answer == Answer::GaveUp)
            break;
    }
    // Out of time: the first square always begins a tour.
    return { 1, false, openTour(route.first()) };
}
