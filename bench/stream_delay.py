#!/usr/bin/env python3
"""The delay from a change in a network camera's stream to its motion value.

stream_delay.py PORT FOLDER SHM_NAME TRIALS

Serves Motion-JPEG over HTTP on 127.0.0.1:PORT (multipart/x-mixed-replace, 30 pictures a second,
as a network camera sends it) to the player, which reads it as its camera. The stream shows a
grey scene with a box moving a little (motion above the threshold, so the player keeps playing
its frames) until a change: then black and white pictures by turns. The delay of one change is
the time from sending its first picture to the moment the player's slot of the shared block
(word 1, CamChan 0: the DifferenceSum of the same cycle as the motion line) holds a value that
only the change can give. Between changes the scene is the moving box again for 1 to 1.5 s.
Prints "ready" once it listens, waits until the player measures the box, then, after TRIALS
changes, "delays MS MS ..." in milliseconds.
The pictures (FOLDER/quiet_*.jpg, FOLDER/black.jpg, FOLDER/white.jpg) are made by the caller.
"""
import glob
import mmap
import os
import random
import socket
import statistics
import struct
import sys
import threading
import time

RATE = 30.0
CHANGE_SEEN = 1000000  # black to white over the whole picture: about 4.9 million; the box: 0.2
CAMERA_WORD = 1
QUIET_SEEN = 10000  # the moving box is measured: the player's camera is on
WARM_UP_S = 30.0  # at most, for the player's start, its q, its settling wait and the stream


class Stream:
    def __init__(self, folder):
        self.quiet = [open(n, "rb").read() for n in sorted(glob.glob(folder + "/quiet_*.jpg"))]
        self.burst = [open(folder + "/" + n, "rb").read() for n in ("black.jpg", "white.jpg")]
        self.changing = False
        self.change_sent = None  # time.monotonic() of the first picture of the change
        self.lock = threading.Lock()

    def serve(self, connection):
        connection.recv(65536)
        connection.sendall(b"HTTP/1.0 200 OK\r\nContent-Type: multipart/x-mixed-replace;"
                           b"boundary=frame\r\n\r\n")
        sent = 0
        due = time.monotonic()
        while True:
            with self.lock:
                changing = self.changing
                jpeg = self.burst[sent % 2] if changing else self.quiet[sent % len(self.quiet)]
                if changing and self.change_sent is None:
                    self.change_sent = time.monotonic()
            connection.sendall(b"--frame\r\nContent-Type: image/jpeg\r\nContent-Length: %d\r\n\r\n"
                               % len(jpeg) + jpeg + b"\r\n")
            sent += 1
            due += 1.0 / RATE
            time.sleep(max(0.0, due - time.monotonic()))


def camera_value(block):
    return struct.unpack_from("<i", block, 4 * CAMERA_WORD)[0]


def main():
    port, folder, shm_name, trials = int(sys.argv[1]), sys.argv[2], sys.argv[3], int(sys.argv[4])
    stream = Stream(folder)
    listener = socket.socket()
    listener.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    listener.bind(("127.0.0.1", port))
    listener.listen(4)
    print("ready", flush=True)

    def accept():
        while True:
            connection, _ = listener.accept()
            threading.Thread(target=stream.serve, args=(connection,), daemon=True).start()

    threading.Thread(target=accept, daemon=True).start()
    block = None
    deadline = time.monotonic() + WARM_UP_S
    while block is None or camera_value(block) < QUIET_SEEN:
        if time.monotonic() > deadline:
            sys.exit("the player's camera measured no motion")
        time.sleep(0.1)
        if block is None and os.path.exists("/dev/shm/" + shm_name):
            with open("/dev/shm/" + shm_name, "r+b") as f:
                block = mmap.mmap(f.fileno(), 1024)
    delays = []
    for _ in range(trials):
        time.sleep(random.uniform(1.0, 1.5))
        if camera_value(block) >= CHANGE_SEEN:
            sys.exit("the motion value is already that of a change: is the camera on?")
        with stream.lock:
            stream.changing, stream.change_sent = True, None
        deadline = time.monotonic() + 5.0
        while camera_value(block) < CHANGE_SEEN and time.monotonic() < deadline:
            time.sleep(0.0005)
        seen = time.monotonic()
        with stream.lock:
            stream.changing = False
            sent = stream.change_sent
        if sent is None or seen >= deadline:
            sys.exit("the change was never measured")
        delays.append(1000.0 * (seen - sent))
    print("delays " + " ".join("%.1f" % d for d in delays), flush=True)
    print("median %.1f max %.1f" % (statistics.median(delays), max(delays)), file=sys.stderr)
    os._exit(0)


if __name__ == "__main__":
    main()
