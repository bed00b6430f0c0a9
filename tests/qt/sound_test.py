#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
# Real sound: a PulseAudio daemon of the test's own with a null sink, the real program on its own
# virtual display, 30 typed commands that each play a cue, the sink's monitor recorded throughout.
# Every cue must be heard within 150 ms of its key, and nothing once Sound is off (F8).
#   sound_test.py GRIMSPIRE
import os, shutil, signal, statistics, subprocess, sys, tempfile, threading, time

RATE, LIMIT_MS = 44100, 150
tools = ["pulseaudio", "pactl", "parec", "Xvfb", "xdotool"]
if not all(shutil.which(t) for t in tools):
    print("SKIPPED: needs " + ", ".join(tools))
    sys.exit(77)
work = tempfile.mkdtemp()
os.mkdir(work + "/run", 0o700)
env = dict(os.environ, XDG_RUNTIME_DIR=work + "/run", HOME=work, XDG_CONFIG_HOME=work + "/config",
           XDG_DATA_HOME=work + "/data")
env.pop("PULSE_SERVER", None)
env.pop("QT_QPA_PLATFORM", None)
running = []
threads = []


def start(argv, **kw):
    p = subprocess.Popen(argv, env=env, stdin=subprocess.DEVNULL, **kw)
    running.append(p)
    return p


def wait_for(check, what, seconds=10):
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        if check():
            return
        time.sleep(0.05)
    sys.exit("FAILED: " + what)


def run(*argv):
    return subprocess.run(argv, env=env, capture_output=True, text=True)


try:
    log = open(work + "/pulse.log", "w")
    start(["pulseaudio", "-n", "--daemonize=no", "--exit-idle-time=-1", "--use-pid-file=no",
           "--load=module-native-protocol-unix", f"--load=module-null-sink sink_name=grim rate={RATE} channels=1"],
          stdout=log, stderr=log)
    wait_for(lambda: run("pactl", "info").returncode == 0, "the sound server did not start")
    display_r, display_w = os.pipe()
    start(["Xvfb", "-displayfd", str(display_w), "-screen", "0", "1280x1024x24", "-nolisten", "tcp"],
          pass_fds=(display_w,), stderr=subprocess.DEVNULL)
    env["DISPLAY"] = ":" + os.read(display_r, 16).decode().strip()
    game = start([sys.argv[1]], stdout=subprocess.DEVNULL, stderr=open(work + "/game.log", "w"))
    wait_for(lambda: run("xdotool", "search", "--onlyvisible", "--name", "^Grimspire$").stdout.strip(),
             "no window titled Grimspire appeared")
    window = run("xdotool", "search", "--onlyvisible", "--name", "^Grimspire$").stdout.split()[0]
    run("xdotool", "windowfocus", "--sync", window)

    # The monitor as it arrives: each chunk's arrival time dates the samples in it.
    recorder = start(["parec", "-d", "grim.monitor", f"--rate={RATE}", "--channels=1", "--format=s16le",
                      "--latency-msec=5", "--raw"], stdout=subprocess.PIPE)
    samples, stamps = bytearray(), []

    def record():
        while chunk := recorder.stdout.read1(4096):
            samples.extend(chunk)
            stamps.append((time.monotonic(), len(samples) // 2))
    threads.append(threading.Thread(target=record, daemon=True))
    threads[0].start()
    wait_for(lambda: stamps, "nothing came from the sink's monitor")

    def heard_at(key_time, window_s):
        """The time of the first sound at or after key_time, within window_s seconds; None if silent."""
        first = last = None
        for i, (t, end) in enumerate(stamps):
            start_n = stamps[i - 1][1] if i else 0
            if t + 0.05 < key_time or t - (end - start_n) / RATE > key_time + window_s:
                continue
            for n in range(start_n, end):
                value = int.from_bytes(samples[2 * n:2 * n + 2], "little", signed=True)
                when = t - (end - n) / RATE
                if abs(value) > 512 and when >= key_time - 0.01:
                    return when
        return None

    run("xdotool", "key", "p")  # a game: the title tune stops
    time.sleep(1)
    keys = []
    for n in range(35):
        if n == 30:
            run("xdotool", "key", "F8")  # sound off for the last five
            time.sleep(0.3)
        run("xdotool", "key", "z")  # well after the last reply, which holds keys back for two blinks
        time.sleep(0.15)
        keys.append(time.monotonic())
        run("xdotool", "key", "Return")  # "What???" and its cue
        time.sleep(0.85)
    time.sleep(0.5)
    latencies = []
    for n, key_time in enumerate(keys[:30]):
        at = heard_at(key_time, 0.5)
        latencies.append(None if at is None else round((at - key_time) * 1000))
    after = [heard_at(t, 0.6) for t in keys[30:]]
    print("latencies (ms):", latencies)
    if any(ms is None or ms > LIMIT_MS for ms in latencies):
        sys.exit(f"FAILED: not every cue was heard within {LIMIT_MS} ms of its key")
    if any(a is not None for a in after):
        sys.exit("FAILED: a cue was heard with the sound off")
    deciles = statistics.quantiles(latencies, n=10)
    print(f"PASSED: 30 cues heard, median {statistics.median(latencies)} ms, 90th percentile {deciles[8]:.0f} ms;"
          " none with the sound off")
finally:
    for p in reversed(running):
        if p.poll() is None:
            p.send_signal(signal.SIGTERM)
            try:
                p.wait(5)
            except subprocess.TimeoutExpired:
                p.kill()
    for t in threads:
        t.join(5)  # the recorder ends with parec; left running it would abort the interpreter's exit
    shutil.rmtree(work, ignore_errors=True)
