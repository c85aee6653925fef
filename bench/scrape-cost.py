#!/usr/bin/env python3
"""Times N sequential scrapes of http://127.0.0.1:PORT/metrics (connect,
request, whole answer) and prints the median and the 99th percentile."""
import socket, statistics, sys, time

port, n = int(sys.argv[1]), int(sys.argv[2])
times = []
for _ in range(n):
    t0 = time.perf_counter()
    with socket.create_connection(("127.0.0.1", port)) as s:
        s.sendall(b"GET /metrics HTTP/1.1\r\nHost: x\r\n\r\n")
        data = b""
        while chunk := s.recv(65536):
            data += chunk
    times.append(time.perf_counter() - t0)
    assert data.startswith(b"HTTP/1.1 200"), data[:40]
times.sort()
print("scrape, client side: median %.3f ms, 99th percentile %.3f ms over %d scrapes of %d bytes"
      % (1000 * statistics.median(times), 1000 * times[int(0.99 * n)], n, len(data)))
