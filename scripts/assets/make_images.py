#!/usr/bin/env python3
"""Writes the launcher's pictures under resources/images/.

The small 16x16 pictures of the image lists and buttons and the 64x64
application picture are drawn here (designs.py); the About page picture is
drawn with ImageMagick (/usr/bin/convert) in DejaVu Sans.
"""

import os
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import designs  # noqa: E402
from raster import Canvas, write_png  # noqa: E402

CONVERT = "/usr/bin/convert"

SMALL = {
    # Page tabs, in the order of the main window's tab image list.
    "imgTabs/0.png": designs.reel_16,          # demos page
    "imgTabs/1.png": designs.gear_16,          # settings
    "imgTabs/2.png": designs.help_16,          # help
    "imgTabs/3.png": designs.about_16,         # about
    "imgTabs/4.png": designs.bookmark_16,      # bookmarks
    "imgTabs/5.png": designs.console_16,       # console
    # Self-Check rows and the profile lists.
    "imgSelfCheck/0.png": designs.game_exe_16,
    "imgSelfCheck/1.png": designs.folder_16,
    "imgSelfCheck/2.png": designs.version_16,
    "imgSelfCheck/3.png": designs.check_16,
    "imgSelfCheck/4.png": designs.player_16,
    # File lists: demo, camera, sound.
    "imgFileIcons/0.png": designs.demo_16,
    "imgFileIcons/1.png": designs.camera_16,
    "imgFileIcons/2.png": designs.sound_16,
    # The project menu.
    "imgMenuIcons/0.png": designs.mods_16,
    "imgMenuIcons/1.png": designs.new_project_16,
    "imgMenuIcons/2.png": designs.move_files_16,
    # Image buttons.
    "buttons/search.png": designs.search_16,
    "buttons/save.png": designs.save_16,
    "buttons/options.png": designs.options_16,
    "buttons/maps.png": designs.maps_16,
    # The run-mode buttons, by mode number.
    "modes/0.png": designs.mode_user_cam_16,
    "modes/1.png": designs.mode_recorded_cam_16,
    "modes/2.png": designs.mode_record_cam_16,
    "modes/3.png": designs.mode_render_16,
    "modes/5.png": designs.mode_time_demo_16,
    "modes/6.png": designs.mode_singleplayer_16,
}


def draw(layers, size):
    canvas = Canvas(size, size, samples=6)
    for shape, paint in layers:
        canvas.fill(shape, paint)
    return canvas.rgba()


def about_picture(path):
    """The About page: 636 x 500, title, version and a film strip."""
    w, h = 636, 500
    strip_top, strip_bottom = 330, 410
    holes = []
    for k in range(-1, 28):
        x = 8 + k * 24
        holes += ["roundrectangle %d,%d %d,%d 3,3" % (x, strip_top + 8, x + 12, strip_top + 20),
                  "roundrectangle %d,%d %d,%d 3,3" % (x, strip_bottom - 20, x + 12, strip_bottom - 8)]
    frames = []
    for k in range(6):
        x = 14 + k * 104
        frames.append("roundrectangle %d,%d %d,%d 4,4" % (x, strip_top + 26, x + 92, strip_bottom - 26))
    args = [
        CONVERT, "-size", "%dx%d" % (w, h), "gradient:#2b416f-#0a0e18",
        # soft light from the upper left
        "(", "-size", "%dx%d" % (w, h), "radial-gradient:#ffffff30-#ffffff00", "-roll", "-180-150", ")",
        "-compose", "over", "-composite",
        # film strip across the lower part
        "-fill", "#05070c", "-draw", "rectangle 0,%d %d,%d" % (strip_top, w, strip_bottom),
        "-fill", "#3a4256", "-draw", " ".join(holes),
        "-fill", "#1f3b6e", "-draw", " ".join(frames),
        "-fill", "#f59c24", "-draw",
        "polygon 256,%d 256,%d 284,%d" % (strip_top + 30, strip_bottom - 30, (strip_top + strip_bottom) // 2),
        # a large, faint play mark behind the title
        "-fill", "#ffffff0c", "-draw", "polygon 420,40 420,300 600,170",
        # title and version
        "-font", "DejaVu-Sans-Bold", "-pointsize", "72", "-fill", "#00000080",
        "-annotate", "+54+167", "Quorvane",
        "-fill", "#f4f6fa", "-annotate", "+50+163", "Quorvane",
        "-font", "DejaVu-Sans", "-pointsize", "34", "-fill", "#f59c24",
        "-annotate", "+54+220", "v1.1",
        "-font", "DejaVu-Sans", "-pointsize", "18", "-fill", "#b8c2d6",
        "-annotate", "+54+262", "Demo workbench for Battlefield 2",
        "-fill", "#8a94a8", "-pointsize", "13",
        "-annotate", "+54+470", "Play, record, render and collect your demos.",
        "-strip", "-interlace", "none", "-sampling-factor", "2x2", "-quality", "92",
        path,
    ]
    subprocess.run(args, check=True)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out = os.path.normpath(os.path.join(here, "..", "..", "resources", "images"))
    for rel, design in SMALL.items():
        path = os.path.join(out, rel)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        write_png(path, draw(design(), 16))
        print(path)
    path = os.path.join(out, "app", "qvr.png")
    os.makedirs(os.path.dirname(path), exist_ok=True)
    write_png(path, draw(designs.app_64(), 64))
    print(path)
    path = os.path.join(out, "about.jpg")
    about_picture(path)
    print(path)


if __name__ == "__main__":
    main()
