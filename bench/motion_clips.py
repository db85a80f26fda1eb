#!/usr/bin/env python3
"""Camera stand-in clips of a room, counted by the player's own measurement.

Makes five 5 s clips at 320 x 240, 30 pictures a second, of a grey room with a faint grain
(ffmpeg lavfi, encoded as Motion-JPEG and as H.264 like camera recordings), then counts with
build/bench/motion_clip_count the cycles above the threshold in which each clip moves the
picture: without SetMotion.txt, with `light 1`, and with a mask over the screen of clip D.

  A lamp: the whole picture steps +40 grey levels at 1 s, holds 2 s, steps back
  B exposure: the whole picture brightens by 60 levels over 2 s, then darkens back over 2 s
  C visitor: a dark 60 x 120 shape crossing the view in 3 s
  D screen: a 100 x 80 area whose content changes every picture, nothing else moves
  E C and A at the same time

Usage: bench/motion_clips.py [BUILD] [--threshold N] [--check]
--check exits 1 unless the goals hold: with light 1, A and B together move at most 2 frames,
C moves in at least 90 % of its cycles without the option and E moves while the shape crosses;
with the mask, D measures 0 in every cycle.
"""
import argparse
import os
import subprocess
import sys
import tempfile

ROOM = "color=c=0x808080:s=320x240:r=30:d=5,format=gray"
GRAIN = "noise=alls=3:allf=t"  # a faint grain that changes every picture
LAMP = "geq=lum='clip(p(X,Y)+40*between(T,1,3-0.01),0,255)'"
RAMP = ("geq=lum='clip(p(X,Y)+60*if(lt(T,0.5),0,if(lt(T,2.5),(T-0.5)/2,"
        "if(lt(T,4.5),(4.5-T)/2,0))),0,255)'")
PERSON = "color=c=0x303030:s=60x120:r=30:d=5,format=gray"
CROSSING = "overlay=x='-60+380*(t-1)/3':y=60:enable='between(t,1,4)'"
SCREEN = "color=c=0x808080:s=100x80:r=30:d=5,format=gray,noise=alls=100:allf=t+u"
SCREEN_PLACE = (203, 21)  # not on the codecs' 8 x 8 and 16 x 16 blocks


def graph(name):
    """The filter graph of clip name, output [v]."""
    if name == "A":
        return f"{ROOM},{LAMP},{GRAIN}[v]"
    if name == "B":
        return f"{ROOM},{RAMP},{GRAIN}[v]"
    if name == "C":
        return f"{ROOM}[r];{PERSON}[p];[r][p]{CROSSING},{GRAIN}[v]"
    if name == "D":
        x, y = SCREEN_PLACE
        return f"{ROOM}[r];{SCREEN}[s];[r][s]overlay=x={x}:y={y},{GRAIN}[v]"
    if name == "E":
        return f"{ROOM}[r];{PERSON}[p];[r][p]{CROSSING},{LAMP},{GRAIN}[v]"
    raise ValueError(name)


CODECS = {"mjpeg": ("avi", ["-c:v", "mjpeg", "-q:v", "3", "-pix_fmt", "yuvj420p"]),
          "h264": ("mp4", ["-c:v", "libx264", "-preset", "veryfast", "-pix_fmt", "yuv420p"])}


def make_clip(folder, name, codec):
    ext, options = CODECS[codec]
    path = os.path.join(folder, f"{name}_{codec}.{ext}")
    subprocess.run(["ffmpeg", "-nostdin", "-loglevel", "error", "-y", "-filter_complex",
                    graph(name), "-map", "[v]", *options, path], check=True)
    return path


def make_mask(folder):
    """MotionMask.png: white, black exactly over the screen of clip D."""
    x, y = SCREEN_PLACE
    path = os.path.join(folder, "MotionMask.png")
    subprocess.run(["ffmpeg", "-nostdin", "-loglevel", "error", "-y", "-f", "lavfi", "-i",
                    f"color=c=white:s=320x240,drawbox=x={x}:y={y}:w=100:h=80:"
                    "c=black:t=fill", "-frames:v", "1", path], check=True)
    return path


def count(tool, folder, clip, threshold):
    out = subprocess.run([tool, clip, str(threshold)], cwd=folder, check=True,
                         capture_output=True, text=True).stdout.splitlines()[-1].split()
    return int(out[1]), int(out[3])


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("build", nargs="?", default="build")
    parser.add_argument("--threshold", type=int, default=3000)
    parser.add_argument("--check", action="store_true")
    args = parser.parse_args()
    tool = os.path.abspath(os.path.join(args.build, "bench", "motion_clip_count"))
    failed = False
    with tempfile.TemporaryDirectory() as top:
        settings = {"none": None, "light 1": "light 1\n",
                    "mask over D": "mask MotionMask.png\n"}
        folders = {}
        for label, text in settings.items():
            folders[label] = os.path.join(top, label.replace(" ", "_"))
            os.mkdir(folders[label])
            if text:
                with open(os.path.join(folders[label], "SetMotion.txt"), "w") as f:
                    f.write(text)
        make_mask(folders["mask over D"])
        print(f"frames moved at threshold {args.threshold} (highest value), 149 cycles a clip")
        print(f"{'clip':10} " + " ".join(f"{label:>22}" for label in settings))
        for codec in CODECS:
            moved = {}
            for name in "ABCDE":
                clip = make_clip(top, name, codec)
                row = []
                for label, folder in folders.items():
                    moved[name, label] = count(tool, folder, clip, args.threshold)
                    row.append("%7d (%8d)" % moved[name, label])
                print(f"{name} {codec:8} " + " ".join(f"{cell:>22}" for cell in row))
            lit = moved["A", "light 1"][0] + moved["B", "light 1"][0]
            seen = moved["C", "light 1"][0] / max(1, moved["C", "none"][0])
            goals = [("A + B with light 1 move at most 2 frames", lit <= 2),
                     ("C with light 1 moves in 90 % of its cycles", seen >= 0.9),
                     ("E with light 1 moves while the shape crosses",
                      moved["E", "light 1"][0] >= 0.9 * moved["C", "none"][0]),
                     ("D with the mask measures 0", moved["D", "mask over D"][1] == 0)]
            for text, ok in goals:
                print(f"  {codec}: {text}: {'yes' if ok else 'NO'}")
                failed = failed or not ok
    return 1 if (failed and args.check) else 0


if __name__ == "__main__":
    sys.exit(main())
