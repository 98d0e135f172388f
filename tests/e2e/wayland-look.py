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
    found = re.findall(r"(O|p|r)(?:utput|anel for|ole xdg_top).*\n.*position: \((\d+), (\d+)\) -> \((\d+), (\d+)\)", text)
    rects = [(k, (x, y, w - x, h - y)) for k, *xy in found for x, y, w, h in [map(int, xy)]]
    x, y, w, h = rects[0][1]
    panel = sum(r[3] for k, r in rects if k == "p")
    return (x, y + panel, w, h - panel), [(r, r) for k, r in rects if k == "r"]


def sway(text):
    spaces, windows = [], []

    def walk(node, floating):
        r = node["rect"]
        if node["type"] == "workspace" and node["name"] != "__i3_scratch":
            spaces.append((r["x"], r["y"], r["width"], r["height"]))
        if node.get("pid"):
            d, c = node["deco_rect"]["height"], node["window_rect"]
            own = (r["x"] + c["x"], r["y"] + c["y"], c["width"], c["height"])
            windows.insert(0, (not floating, (r["x"], r["y"] - d, r["width"], r["height"] + d), own))
        for child in node["nodes"] + node["floating_nodes"]:
            walk(child, floating or child in node["floating_nodes"])

    walk(json.loads(text), False)
    # floating windows lie above tiled ones, a later one above an earlier
    return spaces[0], [w[1:] for w in sorted(windows, key=lambda w: w[0])]


def board(path):
    from PIL import Image

    image = Image.open(path).convert("RGB")
    # every line through the board crosses four black squares and four white ones; other lines of
    # the screen are mostly one or the other (a border, a bar) or neither
    def span(size, line):
        counts = [min(pixels.count((0, 0, 0)), pixels.count((255, 255, 255))) for pixels in map(line, range(size))]
        # the board's lines are the most common: those of its height (or width) with the same count
        common = max(set(counts) - {0}, key=counts.count)
        chosen = [i for i, n in enumerate(counts) if n >= 0.9 * common]
        return chosen[0], chosen[-1] - chosen[0] + 1

    w, h = image.size
    (x, w), (y, h) = (span(w, lambda i: list(image.crop((i, 0, i + 1, h)).getdata())),
                      span(h, lambda i: list(image.crop((0, i, w, i + 1)).getdata())))
    return x, y, w, h


if sys.argv[1] == "windows":
    usable, windows = (weston if sys.argv[2] == "weston" else sway)(sys.stdin.read())
    print("usable %d %d %d %d" % usable)
    for frame, own in windows:
        print("%d %d %d %d  %d %d %d %d" % (frame + own))
else:
    print("%d %d %d %d" % board(sys.argv[2]))
