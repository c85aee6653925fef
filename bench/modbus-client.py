#!/usr/bin/env python3
"""A plain Modbus TCP client for the measurements, reading the 15 input
registers at 127.0.0.1:PORT over one connection, as a PLC does.

  modbus-client.py cost PORT N      N reads in a row: median and 99th percentile
  modbus-client.py poll PORT SECONDS one read a second, reconnecting when cut
                                     off: reads answered and failed, slowest"""
import socket, statistics, struct, sys, time

mode, port, amount = sys.argv[1], int(sys.argv[2]), float(sys.argv[3])
ANSWER = 9 + 2 * 15  # MBAP, function, byte count, 15 registers


def read(s, transaction):
    s.sendall(struct.pack(">HHHBBHH", transaction & 0xFFFF, 0, 6, 1, 4, 0, 15))
    data = b""
    while len(data) < ANSWER:
        chunk = s.recv(ANSWER - len(data))
        if not chunk:
            raise ConnectionError("closed")
        data += chunk
    assert data[7] == 4 and data[:2] == struct.pack(">H", transaction & 0xFFFF), data.hex()


if mode == "cost":
    times = []
    with socket.create_connection(("127.0.0.1", port)) as s:
        s.setsockopt(socket.IPPROTO_TCP, socket.TCP_NODELAY, 1)
        for i in range(int(amount)):
            t0 = time.perf_counter()
            read(s, i)
            times.append(time.perf_counter() - t0)
    times.sort()
    print("read of 15 registers, client side: median %.3f ms, 99th percentile %.3f ms over %d reads"
          % (1000 * statistics.median(times), 1000 * times[int(0.99 * len(times))], len(times)))
else:
    end = time.time() + amount
    answered = failed = 0
    slowest = 0.0
    s = None
    while time.time() < end:
        t0 = time.perf_counter()
        try:
            if s is None:
                s = socket.create_connection(("127.0.0.1", port), timeout=2)
            read(s, answered + failed)
            answered += 1
            slowest = max(slowest, time.perf_counter() - t0)
        except OSError:
            failed += 1
            if s:
                s.close()
            s = None
        time.sleep(max(0.0, 1 - (time.perf_counter() - t0)))
    print("PLC polling every 1 s: %d reads answered, %d failed, slowest %.1f ms"
          % (answered, failed, 1000 * slowest))
