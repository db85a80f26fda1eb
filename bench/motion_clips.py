#!/usr/bin/env python3
"""Camera stand-in clips of a room, counted by the player's own measurement.

Makes 5 s clips at 320 x 240, 30 pictures a second, of a room with a faint grain (ffmpeg lavfi,
encoded as Motion-JPEG and as H.264 like camera recordings), then counts with
build/bench/motion_clip_count the cycles above the threshold in which each clip moves the
picture: without SetMotion.txt, with `light 1`, and with a mask over the screen of clip D. The
grey room is level 128; the two-tone room is 40 on its left half and 190 on its right; the
graded room runs from 20 on the left to 235 on the right.

  A lamp: the whole grey room steps +40 grey levels at 1 s, holds 2 s, steps back
  B exposure: the whole grey room brightens by 60 levels over 2 s, then darkens back over 2 s
  C visitor: a dark 60 x 120 shape crossing the grey room in 3 s
  D screen: a 100 x 80 area whose content changes every picture, nothing else moves
  E C and A at the same time
  F gain: the two-tone room's levels x1.0 -> x1.3 over 6 pictures at 1 s, held 2 s, back over 6
  G gamma: the graded room's tone curve bends from gamma 1 to 0.7 the same way (darks lift most)
  H visitor and gain: C while the grey room's levels go x1.3 over 6 pictures at 1.5 s and back
    at 3 s
  I light visitor: a 60 x 120 shape of level 170 crossing the two-tone room in 3 s (130 above
    its left half, 20 below its right half)
  J I while the two-tone room's gain changes as in H

Besides the threshold given (3000), each setting is also counted at the threshold F4 writes for
it: 1.5 times the highest value of the three empty rooms, at least 500.

Usage: bench/motion_clips.py [BUILD] [--threshold N] [--check]
--check exits 1 unless the goals hold: with light 1 at the threshold given, A and B together move
at most 2 frames, C moves in at least 90 % of its cycles without the option and E moves while the
shape crosses; with light 1 at its F4 threshold, A and B move nothing, F and G at most 2 frames
each, and C, H, I and J move in at least 90 % of the cycles their visitor moves without the
option (C and I) at its F4 threshold; with the mask, D measures 0 in every cycle.
"""
import argparse
import os
import subprocess
import sys
import tempfile

ROOM = "color=c=0x808080:s=320x240:r=30:d=5,format=gray"
TWO_TONE = f"{ROOM},geq=lum='if(lt(X,W/2),40,190)'"
GRADED = f"{ROOM},geq=lum='20+215*X/W'"
GRAIN = "noise=alls=3:allf=t"  # a faint grain that changes every picture
LAMP = "geq=lum='clip(p(X,Y)+40*between(T,1,3-0.01),0,255)'"
RAMP = ("geq=lum='clip(p(X,Y)+60*if(lt(T,0.5),0,if(lt(T,2.5),(T-0.5)/2,"
        "if(lt(T,4.5),(4.5-T)/2,0))),0,255)'")
PERSON = "color=c=0x303030:s=60x120:r=30:d=5,format=gray"
CROSSING = "overlay=x='-60+380*(t-1)/3':y=60:enable='between(t,1,4)'"
# 0 before start, 1 from 6 pictures after it until hold s later, back to 0 over 6 pictures.
STEP = "(clip((T-{start})*5,0,1)-clip((T-{start}-0.2-{hold})*5,0,1))"
GAIN_AT_1 = "geq=lum='clip(p(X,Y)*(1+0.3*" + STEP.format(start=1, hold=2) + "),0,255)'"
GAIN_AT_1_5 = "geq=lum='clip(p(X,Y)*(1+0.3*" + STEP.format(start=1.5, hold=1.3) + "),0,255)'"
GAMMA = "geq=lum='255*pow(p(X,Y)/255,1-0.3*" + STEP.format(start=1, hold=2) + ")'"
LIGHT_SHAPE = "color=c=0xAAAAAA:s=60x120:r=30:d=5,format=gray"
SCREEN = "color=c=0x808080:s=100x80:r=30:d=5,format=gray,noise=alls=100:allf=t+u"
SCREEN_PLACE = (203, 21)  # not on the codecs' 8 x 8 and 16 x 16 blocks


# Each clip: its room, the shape crossing it (or None) and what the light does (or None).
CLIPS = {"A": (ROOM, None, LAMP), "B": (ROOM, None, RAMP), "C": (ROOM, PERSON, None),
         "E": (ROOM, PERSON, LAMP), "F": (TWO_TONE, None, GAIN_AT_1),
         "G": (GRADED, None, GAMMA), "H": (ROOM, PERSON, GAIN_AT_1_5),
         "I": (TWO_TONE, LIGHT_SHAPE, None), "J": (TWO_TONE, LIGHT_SHAPE, GAIN_AT_1_5),
         "empty grey": (ROOM, None, None), "empty two-tone": (TWO_TONE, None, None),
         "empty graded": (GRADED, None, None)}


def graph(name):
    """The filter graph of clip name, output [v]."""
    if name == "D":
        x, y = SCREEN_PLACE
        return f"{ROOM}[r];{SCREEN}[s];[r][s]overlay=x={x}:y={y},{GRAIN}[v]"
    room, shape, light = CLIPS[name]
    scene = f"{room}[r];{shape}[p];[r][p]{CROSSING}" if shape else room
    return f"{scene},{light},{GRAIN}[v]" if light else f"{scene},{GRAIN}[v]"


CODECS = {"mjpeg": ("avi", ["-c:v", "mjpeg", "-q:v", "3", "-pix_fmt", "yuvj420p"]),
          "h264": ("mp4", ["-c:v", "libx264", "-preset", "veryfast", "-pix_fmt", "yuv420p"])}


def make_clip(folder, name, codec):
    ext, options = CODECS[codec]
    path = os.path.join(folder, f"{name.replace(' ', '_')}_{codec}.{ext}")
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


def f4_threshold(tool, folder, clips):
    """What F4 writes for the empty rooms: 1.5 x the highest value, rounded up, at least 500."""
    highest = max(count(tool, folder, clip, 0)[1] for clip in clips)
    return max(500, -(-3 * highest // 2))


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
        for codec in CODECS:
            empty = [make_clip(top, f"empty {room}", codec)
                     for room in ("grey", "two-tone", "graded")]
            f4 = {label: f4_threshold(tool, folders[label], empty) for label in ("none", "light 1")}
            columns = [("none", args.threshold), ("none", f4["none"]),
                       ("light 1", args.threshold), ("light 1", f4["light 1"]),
                       ("mask over D", args.threshold)]
            print(f"{codec}: frames moved (highest value), 149 cycles a clip")
            print("clip " + " ".join(f"{label + ' @' + str(t):>20}" for label, t in columns))
            moved = {}
            for name in "ABCDEFGHIJ":
                clip = make_clip(top, name, codec)
                for label, threshold in columns:
                    moved[name, label, threshold] = count(tool, folders[label], clip, threshold)
                print(f"{name:4} " + " ".join("%20s" % ("%d (%d)" % moved[name, label, t])
                                             for label, t in columns))
            at = args.threshold
            light = {name: moved[name, "light 1", f4["light 1"]][0] for name in "ABCFGHIJ"}
            plain = {name: moved[name, "none", f4["none"]][0] for name in "CI"}
            goals = [("A + B with light 1 move at most 2 frames",
                      moved["A", "light 1", at][0] + moved["B", "light 1", at][0] <= 2),
                     ("C with light 1 moves in 90 % of its cycles",
                      moved["C", "light 1", at][0] >= 0.9 * moved["C", "none", at][0]),
                     ("E with light 1 moves while the shape crosses",
                      moved["E", "light 1", at][0] >= 0.9 * moved["C", "none", at][0]),
                     ("D with the mask measures 0", moved["D", "mask over D", at][1] == 0),
                     ("at F4's threshold, A and B with light 1 move nothing",
                      light["A"] + light["B"] == 0),
                     ("at F4's threshold, F and G with light 1 move at most 2 frames each",
                      max(light["F"], light["G"]) <= 2)]
            for name, alone in (("C", "C"), ("H", "C"), ("I", "I"), ("J", "I")):
                goals.append((f"at F4's threshold, {name} with light 1 moves in 90 % of the "
                              f"cycles {alone} moves without it",
                              light[name] >= 0.9 * plain[alone]))
            for text, ok in goals:
                print(f"  {codec}: {text}: {'yes' if ok else 'NO'}")
                failed = failed or not ok
    return 1 if (failed and args.check) else 0


if __name__ == "__main__":
    sys.exit(main())
