# What a Wayland compositor shows, read from its own account and from a screenshot.
#   windows weston|sway < scene graph or tree: "usable X Y W H", then the top-level windows from the
#     top down, "X Y W H  x y w h": the frame, then the surface the program draws (its own title
#     bar included on weston, sway's not).
#   board PNG: "X Y W H" of the board's black and white squares, in the screenshot's pixels.
import json
import re
import sys


def weston(text):
    numbers = r"\((-?\d+), (-?\d+)\) -> \((-?\d+), (-?\d+)\)"
    output = panel = None
    windows = []
    kind = None
    for line in text.splitlines():
        if line.startswith("Output"):
            kind = "output"
        elif "View" in line:
            kind = "panel" if "panel for output" in line else "window" if "role xdg_toplevel" in line else None
        found = re.search(r"position: " + numbers, line)
        if not found or not kind:
            continue
        x1, y1, x2, y2 = map(int, found.groups())
        rect = (x1, y1, x2 - x1, y2 - y1)
        if kind == "output":
            output = rect
        elif kind == "panel":
            panel = rect
        else:
            windows.append((rect, rect))
        kind = None
    x, y, w, h = output
    if panel:  # at the top
        y, h = panel[1] + panel[3], h - panel[3]
    return (x, y, w, h), windows


def sway(text):
    tree = json.loads(text)
    usable = None
    windows = []

    def walk(node, floating):
        nonlocal usable
        if node.get("type") == "workspace" and node.get("name") != "__i3_scratch" and usable is None:
            r = node["rect"]
            usable = (r["x"], r["y"], r["width"], r["height"])
        if node.get("pid"):
            r, d, c = node["rect"], node["deco_rect"], node["window_rect"]
            frame = (r["x"], r["y"] - d["height"], r["width"], r["height"] + d["height"])
            own = (r["x"] + c["x"], r["y"] + c["y"], c["width"], c["height"])
            windows.append((floating, frame, own))
        for child in node.get("nodes", []):
            walk(child, floating)
        for child in node.get("floating_nodes", []):
            walk(child, True)

    walk(tree, False)
    # floating windows lie above tiled ones, the later above the earlier
    ordered = [w for w in reversed(windows) if w[0]] + [w for w in reversed(windows) if not w[0]]
    return usable, [(frame, own) for _, frame, own in ordered]


def board(path):
    from PIL import Image, ImageChops

    image = Image.open(path).convert("RGB")
    width, height = image.size
    # a square's four black and four white squares lie along every line through the board; other lines
    # of the screen are mostly one or the other (a border, a bar) or neither
    def lines(colour):
        full = [channel.point(lambda v: 255 if v == colour else 0) for channel in image.split()]
        mask = ImageChops.multiply(ImageChops.multiply(full[0], full[1]), full[2])
        return ([mask.crop((0, y, width, y + 1)).histogram()[255] for y in range(height)],
                [mask.crop((x, 0, x + 1, height)).histogram()[255] for x in range(width)])

    (white_rows, white_columns), (black_rows, black_columns) = lines(255), lines(0)
    rows = list(map(min, white_rows, black_rows))
    columns = list(map(min, white_columns, black_columns))

    # the board's lines are the most common: those of its height (or width) with the same count
    def span(counts):
        common = max(set(counts) - {0}, key=counts.count)
        chosen = [i for i, n in enumerate(counts) if n >= 0.9 * common]
        return chosen[0], chosen[-1] - chosen[0] + 1

    x, w = span(columns)
    y, h = span(rows)
    return x, y, w, h


if sys.argv[1] == "windows":
    usable, windows = (weston if sys.argv[2] == "weston" else sway)(sys.stdin.read())
    print("usable %d %d %d %d" % usable)
    for frame, own in windows:
        print("%d %d %d %d  %d %d %d %d" % (frame + own))
else:
    print("%d %d %d %d" % board(sys.argv[2]))
