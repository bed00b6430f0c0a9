#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
# Real sound: a PulseAudio daemon of the test's own with a null sink, the real program on its own
# virtual display, 30 typed commands that each play a cue, the sink's monitor recorded throughout.
# Every cue must be heard, nine in ten within 150 ms of its key (a busy machine may hold up the odd
# one, as it would a player's), and nothing once Sound is off (F8).
#   sound_test.py GRIMSPIRE
import ctypes, os, shutil, signal, statistics, subprocess, sys, tempfile, threading, time

RATE, LIMIT_MS = 44100, 150
tools = ["pulseaudio", "pactl", "parec", "Xvfb", "xdotool"]
if not all(shutil.which(t) for t in tools):
    sys.exit(print("SKIPPED: needs " + ", ".join(tools)) or 77)
work = tempfile.mkdtemp()
os.mkdir(work + "/run", 0o700)
env = {k: v for k, v in os.environ.items() if k not in ("PULSE_SERVER", "QT_QPA_PLATFORM")}
env.update(XDG_RUNTIME_DIR=work + "/run", HOME=work, XDG_CONFIG_HOME=work + "/config", XDG_DATA_HOME=work + "/data")
running, threads, samples, stamps = [], [], bytearray(), []


def start(argv, **kw):
    running.append(subprocess.Popen(argv, env=env, stdin=subprocess.DEVNULL, **kw))
    return running[-1]


def run(*argv):
    return subprocess.run(argv, env=env, capture_output=True, text=True)


def wait_for(check, what):
    end = time.monotonic() + 10
    while not check():
        if time.monotonic() > end:
            sys.exit("FAILED: " + what)
        time.sleep(0.05)


def keyboard(display):
    """A key press and release through XTest from this process: no program's start counts as latency."""
    x11, xtst = ctypes.CDLL("libX11.so.6"), ctypes.CDLL("libXtst.so.6")
    x11.XOpenDisplay.restype, x11.XStringToKeysym.restype = ctypes.c_void_p, ctypes.c_ulong
    dpy = ctypes.c_void_p(x11.XOpenDisplay(display.encode()))  # a pointer and a keysym kept whole on 64 bits

    def press(name):
        code = x11.XKeysymToKeycode(dpy, ctypes.c_ulong(x11.XStringToKeysym(name.encode())))
        at = time.monotonic()
        for down in (1, 0):
            xtst.XTestFakeKeyEvent(dpy, code, down, 0)
        x11.XSync(dpy, 0)
        return at
    return press


def record(recorder):  # each chunk's arrival time dates the samples in it
    while chunk := recorder.stdout.read1(4096):
        samples.extend(chunk)
        stamps.append((time.monotonic(), len(samples) // 2))


def heard_at(key_time, window):
    """When the first sound came at or after key_time, within `window` seconds; None if nothing did."""
    for i, (t, end) in enumerate(stamps):
        first = stamps[i - 1][1] if i else 0
        if t + 0.05 < key_time or t - (end - first) / RATE > key_time + window:
            continue
        for n in range(first, end):
            when = t - (end - n) / RATE
            if when >= key_time - 0.01 and abs(int.from_bytes(samples[2 * n:2 * n + 2], "little", signed=True)) > 512:
                return when
    return None


try:
    log = open(work + "/pulse.log", "w")
    start(["pulseaudio", "-n", "--daemonize=no", "--exit-idle-time=-1", "--use-pid-file=no",
           "--load=module-native-protocol-unix", f"--load=module-null-sink sink_name=grim rate={RATE} channels=1"],
          stdout=log, stderr=log)
    wait_for(lambda: run("pactl", "info").returncode == 0, "the sound server did not start")
    display_r, display_w = os.pipe()
    start(["Xvfb", "-displayfd", str(display_w), "-screen", "0", "1280x1024x24", "-nolisten", "tcp", "-noreset"],
          pass_fds=(display_w,), stderr=subprocess.DEVNULL)
    env["DISPLAY"] = ":" + os.read(display_r, 16).decode().strip()
    start([sys.argv[1]], stdout=subprocess.DEVNULL, stderr=open(work + "/game.log", "w"))
    find = ("xdotool", "search", "--onlyvisible", "--name", "^Grimspire$")
    wait_for(lambda: run(*find).stdout.strip(), "no window titled Grimspire appeared")
    run("xdotool", "windowfocus", "--sync", run(*find).stdout.split()[0])
    recorder = start(["parec", "-d", "grim.monitor", f"--rate={RATE}", "--channels=1", "--format=s16le",
                      "--latency-msec=5", "--raw"], stdout=subprocess.PIPE)
    threads.append(threading.Thread(target=record, args=(recorder,), daemon=True))
    threads[0].start()
    wait_for(lambda: stamps, "nothing came from the sink's monitor")

    press = keyboard(env["DISPLAY"])
    press("p")  # a game: the title tune stops
    time.sleep(1)
    keys = []
    for n in range(35):
        if n == 30:
            press("F8")  # sound off for the last five
            time.sleep(0.3)
        press("z")  # well after the last reply, which holds keys back for two blinks
        time.sleep(0.15)
        keys.append(press("Return"))  # "What???" and its cue
        if n < 30:  # heard before the next key, however busy the machine: F8 must not overtake it
            wait_for(lambda: heard_at(keys[-1], 10) is not None, f"cue {n + 1} was not heard")
        time.sleep(0.85)
    latencies = [heard_at(k, 10) for k in keys[:30]]
    latencies = [None if at is None else round((at - k) * 1000) for at, k in zip(latencies, keys)]
    print("latencies (ms):", latencies)
    if None in latencies or statistics.quantiles(latencies, n=10)[8] > LIMIT_MS:
        sys.exit(f"FAILED: not every cue was heard, or not nine in ten within {LIMIT_MS} ms of its key")
    if any(heard_at(k, 0.6) is not None for k in keys[30:]):
        sys.exit("FAILED: a cue was heard with the sound off")
    print(f"PASSED: 30 cues heard, median {statistics.median(latencies)} ms, 90th percentile"
          f" {statistics.quantiles(latencies, n=10)[8]:.0f} ms, slowest {max(latencies)} ms; none with the sound off")
finally:
    for p in reversed(running):
        p.send_signal(signal.SIGTERM)
        try:
            p.wait(5)
        except subprocess.TimeoutExpired:
            p.kill()
    for t in threads:
        t.join(5)  # the recorder ends with parec; left running it would abort the interpreter's exit
    shutil.rmtree(work, ignore_errors=True)
