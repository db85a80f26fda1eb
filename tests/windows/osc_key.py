#!/usr/bin/env python3
"""Sends /zeltran/key KEY to the player on 127.0.0.1:PORT and waits for its /zeltran/status on
127.0.0.1:LISTEN: osc_key.py PORT KEY LISTEN. Prints what it received; exit 1 without a status."""
import socket
import struct
import sys


def padded(text):
    data = text.encode() + b"\0"
    return data + b"\0" * (-len(data) % 4)


def main():
    port, key, listen = int(sys.argv[1]), sys.argv[2], int(sys.argv[3])
    receiver = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
    receiver.bind(("127.0.0.1", listen))
    receiver.settimeout(5)
    sender = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
    sender.sendto(padded("/zeltran/key") + padded(",i") + struct.pack(">i", ord(key)),
                  ("127.0.0.1", port))
    while True:
        try:
            data = receiver.recv(65536)
        except socket.timeout:
            print("no /zeltran/status within 5 s")
            return 1
        if data.startswith(b"/zeltran/status\0") and data[16:24] == padded(",iiiif"):
            folder, frame, frames, camera, rate = struct.unpack(">iiiif", data[24:44])
            print(f"received /zeltran/status folder {folder} frame {frame} of {frames} "
                  f"camera {camera} rate {rate:.1f}")
            return 0


sys.exit(main())
