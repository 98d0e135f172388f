# What a Wayland compositor shows, read from its own account and from a screenshot.
#   windows weston|sway < scene graph or tree: "usable X Y W H", then the top-level windows from the
#     top down, "X Y W H  x y w h": the frame, then the surface the program draws (its own title
#     bar included on weston, sway's not).
#   board PNG: "X Y W H" of the board's black and white squares, in the screenshot's pixels.
import json
import re
import sys


def weston(text):
    # views from the top down: the output, the panel (at the top), the windows
    views = re.findall(r"(Output|panel for output|role xdg_toplevel).*\n.*position: \((-?\d+), (-?\d+)\) -> \((-?\d+), (-?\d+)\)", text)
    rects = [(kind, (x1, y1, x2 - x1, y2 - y1)) for kind, *xy in views for x1, y1, x2, y2 in [map(int, xy)]]
    (x, y, w, h), panel = rects[0][1], sum((r[3] for k, r in rects if k[0] == "p"), 0)
    return (x, y + panel, w, h - panel), [(r, r) for k, r in rects if k[0] == "r"]


def sway(text):
    workspaces, windows = [], []

    def walk(node, floating):
        r = node["rect"]
        if node["type"] == "workspace" and node["name"] != "__i3_scratch":
            workspaces.append((r["x"], r["y"], r["width"], r["height"]))
        if node.get("pid"):
            d, c = node["deco_rect"], node["window_rect"]
            frame = (r["x"], r["y"] - d["height"], r["width"], r["height"] + d["height"])
            windows.append((floating, frame, (r["x"] + c["x"], r["y"] + c["y"], c["width"], c["height"])))
        for child in node["nodes"]:
            walk(child, floating)
        for child in node["floating_nodes"]:
            walk(child, True)

    walk(json.loads(text), False)
    # floating windows lie above tiled ones, a later one above an earlier
    return workspaces[0], [(frame, own) for _, frame, own in sorted(reversed(windows), key=lambda w: not w[0])]


def board(path):
    from PIL import Image, ImageChops

    image = Image.open(path).convert("RGB")
    width, height = image.size

    # every line through the board crosses four black squares and four white ones; other lines of the
    # screen are mostly one or the other (a border, a bar) or neither
    def lines(colour):
        full = [channel.point(lambda v: 255 if v == colour else 0) for channel in image.split()]
        mask = ImageChops.multiply(ImageChops.multiply(full[0], full[1]), full[2])
        return ([mask.crop((0, y, width, y + 1)).histogram()[255] for y in range(height)],
                [mask.crop((x, 0, x + 1, height)).histogram()[255] for x in range(width)])

    (white_rows, white_columns), (black_rows, black_columns) = lines(255), lines(0)

    # the board's lines are the most common: those of its height (or width) with the same count
    def span(counts):
        common = max(set(counts) - {0}, key=counts.count)
        chosen = [i for i, n in enumerate(counts) if n >= 0.9 * common]
        return chosen[0], chosen[-1] - chosen[0] + 1

    (x, w), (y, h) = span(list(map(min, white_columns, black_columns))), span(list(map(min, white_rows, black_rows)))
    return x, y, w, h


if sys.argv[1] == "windows":
    usable, windows = (weston if sys.argv[2] == "weston" else sway)(sys.stdin.read())
    print("usable %d %d %d %d" % usable)
    for frame, own in windows:
        print("%d %d %d %d  %d %d %d %d" % (frame + own))
else:
    print("%d %d %d %d" % board(sys.argv[2]))
