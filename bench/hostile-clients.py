#!/usr/bin/env python3
"""Hostile clients against the metrics endpoint at 127.0.0.1:PORT for SECONDS:
garbage requests, half requests left stalled, and bursts of connections held
open, all at once in threads. Prints what each got."""
import socket, sys, threading, time

port, seconds = int(sys.argv[1]), float(sys.argv[2])
end = time.time() + seconds
counts = {"garbage": 0, "stalled": 0, "burst": 0, "refused": 0}

def connect():
    s = socket.create_connection(("127.0.0.1", port), timeout=15)
    return s

def garbage():
    while time.time() < end:
        try:
            with connect() as s:
                s.sendall(bytes(range(256)) * 64 + b"\r\n\r\n")
                s.recv(4096)
            counts["garbage"] += 1
        except OSError:
            counts["refused"] += 1

def stalled():  # half a request each, then silence until the server lets go
    while time.time() < end:
        try:
            with connect() as s:
                s.sendall(b"GET /metrics HTTP/1.1\r\nHost: x\r\n")
                s.recv(4096)
            counts["stalled"] += 1
        except OSError:
            counts["refused"] += 1

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

threads = [threading.Thread(target=f) for f in (garbage, garbage, stalled, stalled, burst)]
for t in threads:
    t.start()
for t in threads:
    t.join()
print("hostile clients: %(garbage)d garbage requests, %(stalled)d stalled half requests, "
      "%(burst)d burst connections, %(refused)d refused or reset" % counts)
