#!/usr/bin/env python3
"""HTTP load on the player's status server, and what it costs the picture loop.

  http_load.py load PORT SECONDS RATE
      RATE requests a second for SECONDS, paths in turn (page, JSON, metrics, both pictures);
      prints "ANSWERED FAILED".
  http_load.py turns PORT STATS SHM TURNS TURN_SECONDS RATE
      A player moved by motion (word 0 of /dev/shm/SHM set far above the threshold) is measured
      in TURNS turns of TURN_SECONDS, with the load on in half of them (on, off, off, on, ...),
      so both halves meet the same drift of the machine. The new-frame rate of a turn comes from the player's stats
      file (ZELTRAN_STATS_FILE: "shown COUNT UNIX_NS AHEAD" every 20th picture). Prints
      "RATE_WITH_LOAD RATE_WITHOUT ANSWERED FAILED", the rates the medians of their turns.
"""
import http.client
import statistics
import struct
import sys
import time

PATHS = ["/", "/status.json", "/metrics", "/picture.jpg", "/camera.jpg"]
MOTION = 1000000  # far above the default threshold 11500


def load(port, seconds, rate, counts):
    """Sends rate requests a second for seconds, one connection each (as a scraper does)."""
    start = time.monotonic()
    sent = 0
    while time.monotonic() - start < seconds:
        path = PATHS[sent % len(PATHS)]
        try:
            connection = http.client.HTTPConnection("127.0.0.1", port, timeout=5)
            connection.request("GET", path)
            response = connection.getresponse()
            response.read()
            connection.close()
            # No picture yet (503) still is an answer; anything else is counted as failed.
            counts[0 if response.status in (200, 503) else 1] += 1
        except OSError:
            counts[1] += 1
        sent += 1
        time.sleep(max(0.0, min(start + sent / rate, start + seconds) - time.monotonic()))


def set_motion(shm, value):
    with open("/dev/shm/" + shm, "r+b") as block:
        block.write(struct.pack("<i", value))


def shown_rate(stats, from_ns, to_ns):
    """Distinct pictures a second between two wall-clock times, from the stats lines."""
    points = []
    with open(stats) as lines:
        for line in lines:
            fields = line.split()
            if len(fields) >= 3 and fields[0] == "shown" and from_ns <= int(fields[2]) <= to_ns:
                points.append((int(fields[1]), int(fields[2])))
    if len(points) < 2:
        return 0.0
    return (points[-1][0] - points[0][0]) / ((points[-1][1] - points[0][1]) / 1e9)


def turns(port, stats, shm, count, seconds, rate):
    with_load, without, counts = [], [], [0, 0]
    for turn in range(count):
        # on, off, off, on, ...: each side meets the drift of the machine and the place in the
        # order alike.
        loaded = turn % 4 in (0, 3)
        set_motion(shm, MOTION)
        time.sleep(0.5)
        from_ns = time.time_ns()
        if loaded:
            load(port, seconds, rate, counts)
        else:
            time.sleep(seconds)
        (with_load if loaded else without).append(shown_rate(stats, from_ns, time.time_ns()))
        set_motion(shm, 0)
        time.sleep(0.3)
    print("%.1f %.1f %d %d" % (statistics.median(with_load), statistics.median(without), *counts))


def main():
    if sys.argv[1] == "load":
        counts = [0, 0]
        load(int(sys.argv[2]), float(sys.argv[3]), float(sys.argv[4]), counts)
        print("%d %d" % tuple(counts))
    else:
        port, stats, shm, count, seconds, rate = sys.argv[2:8]
        turns(int(port), stats, shm, int(count), float(seconds), float(rate))


if __name__ == "__main__":
    main()
