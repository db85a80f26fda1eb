#!/usr/bin/python3
"""Network cameras for the tests, on loopback only.

camera_server.py http PORT FOLDER RATE [STALL_AFTER]
    Motion-JPEG over HTTP (multipart/x-mixed-replace, as network cameras send it) of the JPEG
    files of FOLDER in name order, looped, RATE pictures a second, to each client from the
    first picture on. With STALL_AFTER a client gets that many pictures and then nothing more,
    its connection left open (a camera that hangs).
camera_server.py rtsp PORT FOLDER RATE
    The same pictures as RTSP at rtsp://127.0.0.1:PORT/x, decoded and sent again as RTP/JPEG
    (jpegenc ! rtpjpegpay) by a GStreamer RTSP server.

Prints "ready" once it listens; runs until it is killed.
"""
import os
import socket
import sys
import threading
import time


def pictures(folder):
    names = sorted(n for n in os.listdir(folder) if n.endswith(".jpg"))
    return [open(os.path.join(folder, n), "rb").read() for n in names]


def serve_client(connection, jpegs, rate, stall_after):
    try:
        connection.recv(65536)  # the request; any path is the camera
        connection.sendall(b"HTTP/1.0 200 OK\r\nContent-Type: multipart/x-mixed-replace;"
                           b"boundary=frame\r\nCache-Control: no-cache\r\n\r\n")
        sent = 0
        due = time.monotonic()
        while stall_after is None or sent < stall_after:
            jpeg = jpegs[sent % len(jpegs)]
            connection.sendall(b"--frame\r\nContent-Type: image/jpeg\r\nContent-Length: %d\r\n\r\n"
                               % len(jpeg) + jpeg + b"\r\n")
            sent += 1
            due += 1.0 / rate
            time.sleep(max(0.0, due - time.monotonic()))
        time.sleep(3600)
    except OSError:
        pass
    finally:
        connection.close()


def serve_http(port, folder, rate, stall_after):
    jpegs = pictures(folder)
    listener = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
    listener.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    listener.bind(("127.0.0.1", port))
    listener.listen(8)
    print("ready", flush=True)
    while True:
        connection, _ = listener.accept()
        threading.Thread(target=serve_client, args=(connection, jpegs, rate, stall_after),
                         daemon=True).start()


def serve_rtsp(port, folder, rate):
    import gi
    gi.require_version("Gst", "1.0")
    gi.require_version("GstRtspServer", "1.0")
    from gi.repository import GLib, Gst, GstRtspServer
    Gst.init(None)
    server = GstRtspServer.RTSPServer()
    server.set_address("127.0.0.1")
    server.set_service(str(port))
    first = sorted(n for n in os.listdir(folder) if n.endswith(".jpg"))[0]
    pattern = os.path.join(folder, first[:-9] + "%05d.jpg")
    factory = GstRtspServer.RTSPMediaFactory()
    factory.set_launch(
        f"( multifilesrc location={pattern} loop=true caps=image/jpeg,framerate={int(rate)}/1 "
        "! jpegdec ! videoconvert ! video/x-raw,format=I420 ! jpegenc "
        "! rtpjpegpay name=pay0 pt=96 )")
    factory.set_shared(True)
    server.get_mount_points().add_factory("/x", factory)
    if server.attach(None) == 0:
        sys.exit("cannot listen on port %d" % port)
    print("ready", flush=True)
    GLib.MainLoop().run()


def main():
    kind, port, folder, rate = sys.argv[1], int(sys.argv[2]), sys.argv[3], float(sys.argv[4])
    if kind == "http":
        serve_http(port, folder, rate, int(sys.argv[5]) if len(sys.argv) > 5 else None)
    else:
        serve_rtsp(port, folder, rate)


if __name__ == "__main__":
    main()
