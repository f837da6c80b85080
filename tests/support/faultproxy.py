#!/usr/bin/env python3
"""A MySQL-protocol-aware TCP proxy on loopback that injects one fault when a client
statement matching a pattern passes.

  faultproxy.py LISTEN_PORT UPSTREAM_PORT --match REGEX --action ACTION [--nth N]
                [--pid SERVER_PID] [--delay MS] [--log FILE]

ACTION:
  kill-before     SIGKILL the server, the matching statement never forwarded
  kill-after      forward the statement, withhold the server's reply, wait DELAY ms
                  (the server commits), then SIGKILL the server
  stop-after      forward the statement, wait DELAY ms, SIGSTOP the server
  blackhole-after forward the statement, then relay nothing more in either direction
                  on that connection (sockets stay open)
  rst-after       forward, wait DELAY ms, reset both sides of that connection
  rst-before      reset both sides of that connection, the statement never forwarded
  hold-before     hold the statement DELAY ms on the wire, then forward it
  answer-error    answer the statement with the server error --error CODE:SQLSTATE:TEXT
                  instead of forwarding it (as a server that lacks what it asks for)
--also-answer REGEX=CODE:SQLSTATE:TEXT answers every statement matching REGEX with that
error, besides the fault (KILL refused, say, while a COMMIT is held).
The proxy stops by itself after --lifetime seconds (default 900).
"""
import argparse
import asyncio
import os
import re
import signal
import socket
import struct
import sys
import time

p = argparse.ArgumentParser()
p.add_argument("listen", type=int)
p.add_argument("upstream", type=int)
p.add_argument("--match", default=None)
p.add_argument("--action", default="none")
p.add_argument("--nth", type=int, default=1)
p.add_argument("--times", type=int, default=1, help="fire on this many matching statements from the nth on")
p.add_argument("--pid", type=int, default=0)
p.add_argument("--delay", type=int, default=200)
p.add_argument("--log", default=None)
p.add_argument("--lifetime", type=int, default=900)
p.add_argument("--latency", type=int, default=0, help="one-way delay in ms added to every byte, both directions")
p.add_argument("--error", default="1064:42000:error", help="CODE:SQLSTATE:TEXT for answer-error")
p.add_argument("--also-answer", default=None, help="REGEX=CODE:SQLSTATE:TEXT, answered every time")
p.add_argument("--resume-after", type=float, default=-1, help="SIGCONT the server this many seconds after a SIGSTOP")
args = p.parse_args()
assert args.listen != args.upstream

logf = open(args.log, "a") if args.log else sys.stderr
T0 = time.monotonic()


def log(msg):
    logf.write("[proxy %.3f] %s\n" % (time.monotonic() - T0, msg))
    logf.flush()


pattern = re.compile(args.match.encode(), re.I | re.S) if args.match else None
also_pattern, also_error = None, None
if args.also_answer:
    also_regex, also_error = args.also_answer.split("=", 1)
    also_pattern = re.compile(also_regex.encode(), re.I | re.S)


async def answer_error(c, error):
    code, sqlstate, message = error.split(":", 2)
    body = b"\xff" + struct.pack("<H", int(code)) + b"#" + sqlstate.encode()[:5] + message.encode()
    c.cw.write(struct.pack("<I", len(body))[:3] + b"\x01" + body)
    await c.cw.drain()
    log("c%d answered with error %s" % (c.cid, code))
state = {"seen": 0, "fired": False, "count": 0}
conn_id = 0


class Conn:
    def __init__(self, cid, cr, cw, sr, sw):
        self.cid, self.cr, self.cw, self.sr, self.sw = cid, cr, cw, sr, sw
        self.hold_up = False     # stop relaying server -> client
        self.hold_down = False   # stop relaying client -> server
        self.dead = False


def packets(buf):
    """Split complete MySQL packets from buf; returns (list of (seq, payload, raw)), rest."""
    out = []
    while len(buf) >= 4:
        n = buf[0] | (buf[1] << 8) | (buf[2] << 16)
        if len(buf) < 4 + n:
            break
        out.append((buf[3], buf[4:4 + n], buf[:4 + n]))
        buf = buf[4 + n:]
    return out, buf


async def fire(c, action):
    state["count"] += 1
    state["fired"] = state["count"] >= args.times
    if action == "kill-before":
        os.kill(args.pid, signal.SIGKILL)
        log("SIGKILL server %d before forwarding" % args.pid)
    elif action == "kill-after":
        c.hold_up = True
        await asyncio.sleep(args.delay / 1000)
        os.kill(args.pid, signal.SIGKILL)
        log("SIGKILL server %d %d ms after forwarding (reply withheld)" % (args.pid, args.delay))
    elif action == "stop-after":
        await asyncio.sleep(args.delay / 1000)
        os.kill(args.pid, signal.SIGSTOP)
        log("SIGSTOP server %d %d ms after forwarding" % (args.pid, args.delay))
    elif action == "stop-before":
        os.kill(args.pid, signal.SIGSTOP)
        log("SIGSTOP server %d before forwarding" % args.pid)
    elif action == "blackhole-after":
        c.hold_up = c.hold_down = True
        log("blackholing connection %d" % c.cid)
    elif action == "rst-after":
        await asyncio.sleep(args.delay / 1000)
        for w in (c.cw, c.sw):
            s = w.get_extra_info("socket")
            try:
                s.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER, struct.pack("ii", 1, 0))
            except OSError:
                pass
            w.close()
        c.dead = True
        log("reset connection %d" % c.cid)


class Delayed:
    """Writes to `w` what is put in, each chunk LATENCY ms after it arrived."""
    def __init__(self, w):
        self.w = w
        self.q = asyncio.Queue()
        self.task = asyncio.ensure_future(self.run())

    def put(self, data):
        self.q.put_nowait((time.monotonic() + args.latency / 1000, data))

    async def run(self):
        while True:
            due, data = await self.q.get()
            if data is None:
                self.w.close()
                return
            wait = due - time.monotonic()
            if wait > 0:
                await asyncio.sleep(wait)
            self.w.write(data)
            await self.w.drain()


async def resumer():
    while not state["fired"]:
        await asyncio.sleep(0.05)
    if args.action.startswith("stop") and args.resume_after >= 0:
        await asyncio.sleep(args.resume_after + args.delay / 1000)
        os.kill(args.pid, signal.SIGCONT)
        log("SIGCONT server %d" % args.pid)


async def client_to_server(c):
    buf = b""
    while True:
        data = await c.cr.read(65536)
        if not data:
            break
        buf += data
        pkts, buf = packets(buf)
        released = False
        for seq, payload, raw in pkts:
            cmd = payload[0] if payload else -1
            text = b""
            if cmd in (0x03, 0x16):  # COM_QUERY, COM_STMT_PREPARE
                text = payload[1:]
            trigger = (not state["fired"] and pattern is not None and seq == 0 and text
                       and pattern.search(text))
            if trigger:
                state["seen"] += 1
                trigger = state["seen"] >= args.nth
            if text:
                log("c%d %s %s%s" % (c.cid, {0x03: "QUERY", 0x16: "PREPARE"}[cmd],
                                     text[:160].decode("utf-8", "replace"), "  <== TRIGGER" if trigger else ""))
            elif cmd == 0x17:
                log("c%d EXECUTE" % c.cid)
            if trigger and args.action == "kill-before":
                await fire(c, args.action)
                continue
            if trigger and args.action == "rst-before":
                args.delay = 0
                await fire(c, "rst-after")
                continue
            if trigger and args.action == "blackhole-after":
                # Before the statement leaves, so that no part of its reply can slip through.
                c.hold_up = True
            if also_pattern is not None and seq == 0 and text and also_pattern.search(text):
                await answer_error(c, also_error)
                continue
            if trigger and args.action == "answer-error":
                state["count"] += 1
                state["fired"] = state["count"] >= args.times
                await answer_error(c, args.error)
                continue
            if trigger and args.action == "hold-before":
                state["count"] += 1
                state["fired"] = state["count"] >= args.times
                log("c%d holding the statement %d ms" % (c.cid, args.delay))
                await asyncio.sleep(args.delay / 1000)
                released = True
                trigger = False
            if trigger and args.action == "stop-before":
                await fire(c, args.action)
                trigger = False
            if not c.hold_down and not c.dead:
                if args.latency:
                    c.dsw.put(raw)
                else:
                    c.sw.write(raw)
                    await c.sw.drain()
            if trigger:
                asyncio.ensure_future(fire(c, args.action))
        if released:
            # Only once what came with it (a prepared statement's execution) went too.
            log("c%d released the held statement" % c.cid)
    if not c.dead:
        if args.latency:
            c.dsw.put(None)
        else:
            c.sw.close()


async def server_to_client(c):
    while True:
        try:
            data = await c.sr.read(65536)
        except ConnectionError:
            data = b""
        if not data:
            break
        if c.hold_up or c.dead:
            continue
        if args.latency:
            c.dcw.put(data)
            continue
        c.cw.write(data)
        await c.cw.drain()
    if not c.dead:
        log("c%d upstream closed" % c.cid)
        if args.latency:
            c.dcw.put(None)
        else:
            c.cw.close()


async def handle(cr, cw):
    global conn_id
    conn_id += 1
    cid = conn_id
    try:
        sr, sw = await asyncio.open_connection("127.0.0.1", args.upstream)
    except OSError as e:
        log("c%d upstream refused: %s" % (cid, e))
        cw.close()
        return
    c = Conn(cid, cr, cw, sr, sw)
    if args.latency:
        c.dsw, c.dcw = Delayed(sw), Delayed(cw)
    log("c%d open" % c.cid)
    try:
        await asyncio.gather(client_to_server(c), server_to_client(c))
    except Exception as e:  # noqa
        log("c%d ended: %r" % (c.cid, e))


async def main():
    server = await asyncio.start_server(handle, "127.0.0.1", args.listen)
    log("listening on %d -> %d, match=%s action=%s nth=%d" % (args.listen, args.upstream, args.match, args.action, args.nth))
    asyncio.ensure_future(resumer())
    async with server:
        await asyncio.sleep(args.lifetime)


asyncio.run(main())
