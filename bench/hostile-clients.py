#!/usr/bin/env python3
"""Hostile clients against an endpoint at 127.0.0.1:PORT for SECONDS: garbage,
half requests left stalled, and bursts of connections held open, all at once
in threads; against the Modbus registers (third argument "modbus") also a
client that sends reads and never reads the answers, and one that asks as
fast as it can. Prints what each got."""
import socket, struct, sys, threading, time

port, seconds = int(sys.argv[1]), float(sys.argv[2])
modbus = sys.argv[3:] == ["modbus"]
end = time.time() + seconds
counts = {"garbage": 0, "stalled": 0, "burst": 0, "refused": 0, "unread": 0, "flood": 0}
READ = struct.pack(">HHHBBHH", 1, 0, 6, 1, 4, 0, 15)  # the 15 input registers
HALF = READ[:9] if modbus else b"GET /metrics HTTP/1.1\r\nHost: x\r\n"

def connect():
    s = socket.create_connection(("127.0.0.1", port), timeout=15)
    return s

def garbage():  # counted once sent, whether the server answers, closes or resets
    while time.time() < end:
        try:
            s = connect()
        except OSError:
            counts["refused"] += 1
            continue
        with s:
            try:
                s.sendall(bytes(range(256)) * 64 + b"\r\n\r\n")
                s.recv(4096)
            except OSError:
                pass
        counts["garbage"] += 1

def stalled():  # half a request each, then silence until the server lets go
    while time.time() < end:
        try:
            s = connect()
        except OSError:
            counts["refused"] += 1
            continue
        with s:
            try:
                s.sendall(HALF)
                s.recv(4096)
            except OSError:
                pass
        counts["stalled"] += 1

def burst():  # 200 connections opened and held for a second, again and again
    while time.time() < end:
        held = []
        for _ in range(200):
            try:
                held.append(connect())
            except OSError:
                counts["refused"] += 1
        time.sleep(1)
        for s in held:
            s.close()
        counts["burst"] += len(held)

def unread():  # reads sent and their answers never read, until cut off
    while time.time() < end:
        s = socket.socket()
        s.setsockopt(socket.SOL_SOCKET, socket.SO_RCVBUF, 4096)
        s.settimeout(15)
        try:
            s.connect(("127.0.0.1", port))
            while time.time() < end:
                s.sendall(READ * 100)
        except OSError:
            counts["unread"] += 1
        s.close()

def flood():  # reads back to back, each answer read, 10 at a time
    while time.time() < end:
        try:
            with connect() as s:
                while time.time() < end:
                    s.sendall(READ * 10)
                    got = 0
                    while got < 10 * 39:
                        chunk = s.recv(65536)
                        if not chunk:
                            raise ConnectionError
                        got += len(chunk)
                    counts["flood"] += 10
        except OSError:
            counts["refused"] += 1

kinds = [garbage, garbage, stalled, stalled, burst] + ([unread, flood] if modbus else [])
threads = [threading.Thread(target=f) for f in kinds]
for t in threads:
    t.start()
for t in threads:
    t.join()
print("hostile clients: %(garbage)d garbage requests, %(stalled)d stalled half requests, "
      "%(burst)d burst connections, %(refused)d connections refused or reset" % counts +
      (", %(unread)d clients not reading their answers cut off, %(flood)d reads answered "
       "to a client asking as fast as it can" % counts if modbus else ""))
