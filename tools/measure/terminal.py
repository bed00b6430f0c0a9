#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
# What grimspire-term writes and how fast: run on a pseudo-terminal of 80 x 25,
# it answers the program's start-up questions as a narrow-width terminal would,
# then counts the bytes of a full frame, a step, a typed letter and a room change,
# times key to first output byte, and the CPU and bytes of standing idle.
#   tools/measure/terminal.py [path/to/grimspire-term] [idle seconds]
import fcntl, os, pty, select, statistics, struct, sys, termios, time

game = sys.argv[1] if len(sys.argv) > 1 else "build/hosts/terminal/grimspire-term"
idle_seconds = float(sys.argv[2]) if len(sys.argv) > 2 else 20
env = dict(os.environ, TERM="xterm-256color", LANG="C.UTF-8", GRIMSPIRE_SEED="1",
           XDG_CONFIG_HOME="/tmp/grimspire-measure/config", XDG_DATA_HOME="/tmp/grimspire-measure/data")
env.pop("COLORTERM", None)
pid, fd = pty.fork()
if pid == 0:
    os.execve(game, [game], env)
fcntl.ioctl(fd, termios.TIOCSWINSZ, struct.pack("HHHH", 25, 80, 0, 0))


def read_for(seconds, until_quiet=False):
    """Bytes written within the time, or until 30 ms pass without any."""
    data, end = b"", time.monotonic() + seconds
    while time.monotonic() < end:
        r, _, _ = select.select([fd], [], [], 0.03 if until_quiet and data else max(0, end - time.monotonic()))
        if not r:
            if until_quiet and data:
                break
            continue
        chunk = os.read(fd, 65536)
        data += chunk
        if b"\x1b[6n" in chunk:
            os.write(fd, b"\x1b[1;2R\x1b[?62;22c")
    return data


def key(k):
    """Sends a key; returns the first chunk's delay and the whole answer's bytes."""
    read_for(0.0)
    t0 = time.monotonic()
    os.write(fd, k)
    r, _, _ = select.select([fd], [], [], 1)
    first = time.monotonic() - t0
    return first, read_for(0.2, until_quiet=True)


full = read_for(1.5, until_quiet=True)
print(f"title, first frame: {len(full)} bytes")
_, frame = key(b"p")
print(f"P, the courtyard drawn whole: {len(frame)} bytes")
steps, delays = [], []
for _ in range(6):
    d, out = key(b"\x1b[D")
    steps.append(len(out)); delays.append(d)
    d, out = key(b"\x1b[C")
    steps.append(len(out)); delays.append(d)
print(f"a step: median {statistics.median(steps)} bytes (of {len(steps)})")
letters = []
for c in b"LOOKLOOK":
    d, out = key(bytes([c]))
    letters.append(len(out)); delays.append(d)
print(f"a typed letter: median {statistics.median(letters)} bytes")
for _ in range(8):
    key(b"\x7f")
# The courtyard's doorway is one cell to the man's left, at the top.
key(b"\x1b[D")
rooms = []
for _ in range(60):
    d, out = key(b"\x1b[A" if len(rooms) % 2 == 0 else b"\x1b[B")
    if len(out) > 300:
        rooms.append(len(out))
        if len(rooms) >= 4:
            break
print(f"a room change: {rooms} bytes")
delays.sort()
print(f"key to first output byte: median {1000 * statistics.median(delays):.2f} ms, "
      f"90th percentile {1000 * delays[int(0.9 * len(delays))]:.2f} ms over {len(delays)} keys")
with open(f"/proc/{pid}/stat") as f:
    before = sum(int(x) for x in f.read().split(")")[1].split()[11:13])
t0 = time.monotonic()
idle = read_for(idle_seconds)
elapsed = time.monotonic() - t0
with open(f"/proc/{pid}/stat") as f:
    after = sum(int(x) for x in f.read().split(")")[1].split()[11:13])
ticks = os.sysconf("SC_CLK_TCK")
print(f"idle on the play screen: {100 * (after - before) / ticks / elapsed:.3f}% of one core, "
      f"{len(idle) / elapsed:.1f} bytes a second over {elapsed:.0f} s")
os.write(fd, b"\x11")
os.waitpid(pid, 0)
