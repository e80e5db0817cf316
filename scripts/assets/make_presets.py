#!/usr/bin/env python3
"""Writes the default video presets file resources/Presets.ini.

One section per preset, keys in the order the launcher writes them, CR LF
line ends and no blank lines: the installer ships these exact 383 bytes.
"""

import os

PRESETS = [
    ("Mini 640x400", 640, 400, 0, 0, 30, 90),
    ("Default 800x600", 800, 600, 0, 0, 30, 90),
    ("Big 1024x768", 1024, 768, 0, 0, 30, 90),
    ("Widescreen 16:9 960x480", 960, 480, 0, 0, 30, 105),
    ("Widescreen 16:9 720x360", 720, 360, 0, 0, 30, 105),
]
KEYS = ("width", "height", "posx", "posy", "fps", "fov")


def main():
    lines = []
    for name, *values in PRESETS:
        lines.append("[%s]" % name)
        lines.extend("%s=%d" % kv for kv in zip(KEYS, values))
    data = "".join(line + "\r\n" for line in lines).encode("ascii")
    if len(data) != 383:
        raise SystemExit("Presets.ini would be %d bytes, not 383" % len(data))
    here = os.path.dirname(os.path.abspath(__file__))
    path = os.path.normpath(os.path.join(here, "..", "..", "resources", "Presets.ini"))
    with open(path, "wb") as f:
        f.write(data)
    print("%s: %d bytes" % (path, len(data)))


if __name__ == "__main__":
    main()
