# What an AT-SPI client reads of the running game: "read.py board|focus|dialog|empty-labels|halls N".
import sys
import gi
gi.require_version('Atspi', '2.0')
from gi.repository import Atspi


def find(node, test, depth=0):
    if test(node):
        return node
    for i in range(node.get_child_count() if depth < 6 else 0):
        found = find(node.get_child_at_index(i), test, depth + 1)
        if found:
            return found
    return None


def app():
    desktop = Atspi.get_desktop(0)
    return find(desktop, lambda n: n.get_role_name() == 'application' and n.get_name() == 'tarvel')


def everything(node, depth=0):
    yield node
    for i in range(node.get_child_count() if depth < 6 else 0):
        yield from everything(node.get_child_at_index(i), depth + 1)


game = app()
board = game and find(game, lambda n: n.get_role_name() == 'list')
what = sys.argv[1]
if what == 'board':  # the window's role, the board's name and its squares
    squares = [board.get_child_at_index(i) for i in range(board.get_child_count())]
    print(game.get_child_at_index(0).get_role_name(), board.get_name(), len(squares), squares[0].get_name(), squares[63].get_name(), sep='|')
elif what == 'focus':  # the focused square, with what it says beyond its name
    focused = [board.get_child_at_index(i) for i in range(64)
               if board.get_child_at_index(i).get_state_set().contains(Atspi.StateType.FOCUSED)]
    print(*[f'{s.get_name()}|{s.get_description()}' for s in focused], sep=';')
elif what == 'dialog':
    dialog = find(game, lambda n: n.get_role_name() in ('dialog', 'alert'))
    print(dialog.get_description() if dialog else 'none')
elif what == 'empty-labels':
    print(sum(1 for n in everything(game) if n.get_role_name() == 'label' and not n.get_name()))
elif what == 'halls':  # line N (from 1) of the places
    places = find(game, lambda n: n.get_role_name() == 'label' and n.get_name().startswith('1.'))
    print(places.get_name().split('\n')[int(sys.argv[2]) - 1])
