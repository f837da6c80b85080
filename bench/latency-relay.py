#!/usr/bin/env python3
"""A plain TCP relay on loopback that delays every byte by a fixed one-way latency in
both directions, keeping order. It does not look into the stream, so TLS passes: the
office-to-provider link of the benchmarks.

  latency-relay.py LISTEN_PORT UPSTREAM_PORT ONE_WAY_MS [--count FILE] [--lifetime S]

A link of round-trip time R is LISTEN -> UPSTREAM with ONE_WAY_MS = R/2. With --count,
FILE always holds the number of round trips so far: every answer the server sends after
the client spoke on that connection, the greeting of a new connection included (a
request that wants no answer, such as freeing a statement, costs none). Connections
side by side each count.
"""
import argparse
import asyncio
import os
import time

p = argparse.ArgumentParser()
p.add_argument("listen", type=int)
p.add_argument("upstream", type=int)
p.add_argument("one_way_ms", type=float)
p.add_argument("--count", default=None)
p.add_argument("--lifetime", type=float, default=3600)
args = p.parse_args()
one_way = args.one_way_ms / 1000.0
trips = 0


def counted():
    global trips
    trips += 1
    if args.count:
        tmp = args.count + ".tmp"
        with open(tmp, "w") as f:
            f.write("%d\n" % trips)
        os.replace(tmp, args.count)


async def pump(reader, writer, on_data):
    queue = asyncio.Queue()

    async def deliver():
        while True:
            due, data = await queue.get()
            if data is None:
                break
            wait = due - time.monotonic()
            if wait > 0:
                await asyncio.sleep(wait)
            writer.write(data)
            await writer.drain()
        writer.close()

    task = asyncio.create_task(deliver())
    try:
        while True:
            data = await reader.read(65536)
            if not data:
                break
            on_data()
            await queue.put((time.monotonic() + one_way, data))
    except ConnectionError:
        pass
    await queue.put((0, None))
    await task


async def handle(cr, cw):
    try:
        sr, sw = await asyncio.open_connection("127.0.0.1", args.upstream)
    except OSError:
        cw.close()
        return
    # Who spoke last on this connection: the server's answer to the client is a trip,
    # and so is its greeting.
    last = {"side": "client"}

    def from_client():
        last["side"] = "client"

    def from_server():
        if last["side"] == "client":
            last["side"] = "server"
            counted()

    await asyncio.gather(pump(cr, sw, from_client), pump(sr, cw, from_server), return_exceptions=True)


async def main():
    counted_start = args.count
    if counted_start:
        with open(counted_start, "w") as f:
            f.write("0\n")
    server = await asyncio.start_server(handle, "127.0.0.1", args.listen)
    async with server:
        await asyncio.sleep(args.lifetime)


asyncio.run(main())
