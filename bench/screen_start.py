#!/usr/bin/env python3
"""Start to the first complete paint, read from the X screen.

Starts Windows programs under Wine in turn and watches the screen of an Xvfb that keeps its
frame buffer in a file (Xvfb -fbdir DIR): the start ends at the first moment the screen shows
what it finally settles on (every child painted, the graphs drawn). The same signal for every
program, read from outside; the programs are not changed to report it. Beside the time, the CPU
time the program's process had used by then: on a shared machine it moves far less.

  screen_start.py FRAME_BUFFER RUNS OUT_DIR CLOSER NAME=PROGRAM.exe [NAME=PROGRAM.exe]...

The programs run with `wine` in the caller's environment (WINEPREFIX, a running wineserver,
DISPLAY). Once settled, a program is asked to close by `wine CLOSER close` (the
ui-driver), so that every start finds the same machine. Prints "start NAME RUN MS CPU_MS" per start, "median NAME MS CPU_MS" per program and "differing
PIXELS" between the settled screens of the first two programs. The first settled screen of each
program is kept in OUT_DIR as NAME.ppm.
"""

import mmap
import os
import struct
import subprocess
import sys
import time
import zlib

QUIET_S = 1.5      # the screen is settled once it has not changed for this long
LIMIT_S = 60.0     # a start that takes longer fails
GONE_LIMIT_S = 20.0


class Screen:
    def __init__(self, path):
        self.file = open(path, "rb")
        self.map = mmap.mmap(self.file.fileno(), 0, access=mmap.ACCESS_READ)
        head = self.map[:100]
        order = ">" if struct.unpack(">I", head[:4])[0] < 65536 else "<"
        fields = struct.unpack(order + "25I", head)
        header_size, self.depth = fields[0], fields[11]
        self.width, self.height, self.line = fields[4], fields[5], fields[12]
        colours = fields[19]
        self.start = header_size + 12 * colours
        if self.depth != 32:
            sys.exit(f"screen_start: the frame buffer has {self.depth} bits per pixel, not 32")

    def frame(self):
        return self.map[self.start:self.start + self.line * self.height]

    def ppm(self, frame):
        rows = []
        for y in range(self.height):
            row = frame[y * self.line:y * self.line + 4 * self.width]
            rgb = bytearray(3 * self.width)
            rgb[0::3], rgb[1::3], rgb[2::3] = row[2::4], row[1::4], row[0::4]
            rows.append(bytes(rgb))
        return b"P6 %d %d 255\n" % (self.width, self.height) + b"".join(rows)


def cpu_ms(pid):
    """CPU time of the process so far, its threads' run times summed (what has ended is lost)."""
    total = 0
    try:
        for task in os.listdir(f"/proc/{pid}/task"):
            with open(f"/proc/{pid}/task/{task}/schedstat") as f:
                total += int(f.read().split()[0])
    except (FileNotFoundError, ProcessLookupError):
        pass
    return total / 1e6


def start_once(screen, program, closer):
    """Milliseconds to the settled screen, the CPU time the process had used by then, and that
    screen."""
    empty = screen.frame()
    begin = time.monotonic()
    process = subprocess.Popen(["wine", program], stdin=subprocess.DEVNULL,
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    changes = []  # (seconds after start, checksum, CPU ms) at every change of the screen
    last, last_change = empty, begin
    try:
        while True:
            now = time.monotonic()
            frame = screen.frame()
            if frame != last:
                changes.append((now - begin, zlib.crc32(frame), cpu_ms(process.pid)))
                last, last_change = frame, now
            elif changes and last != empty and now - last_change >= QUIET_S:
                break
            if now - begin > LIMIT_S:
                sys.exit(f"screen_start: {program} did not settle within {LIMIT_S:.0f} s")
            if process.poll() is not None:
                sys.exit(f"screen_start: {program} ended during its start")
            time.sleep(0.0005)
    finally:
        if process.poll() is None:
            subprocess.run(["wine", closer, "close"], stdin=subprocess.DEVNULL,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                           timeout=GONE_LIMIT_S, check=False)
        try:
            process.wait(timeout=GONE_LIMIT_S)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait()
    settled = zlib.crc32(last)
    first, cpu = next((t, cpu) for t, checksum, cpu in changes if checksum == settled)
    # The next start begins on an empty screen again.
    gone = time.monotonic()
    while screen.frame() != empty:
        if time.monotonic() - gone > GONE_LIMIT_S:
            sys.exit(f"screen_start: the window of {program} stayed on the screen")
        time.sleep(0.01)
    return 1000.0 * first, cpu, last


def median(values):
    return sorted(values)[len(values) // 2]


def main():
    if len(sys.argv) < 6:
        sys.exit(__doc__)
    screen = Screen(sys.argv[1])
    runs = int(sys.argv[2])
    out_dir, closer = sys.argv[3], sys.argv[4]
    programs = [arg.split("=", 1) for arg in sys.argv[5:]]
    times = {name: [] for name, _ in programs}
    cpus = {name: [] for name, _ in programs}
    settled = {}
    for run in range(runs):
        for name, program in programs:
            ms, cpu, frame = start_once(screen, program, closer)
            print(f"start {name} {run + 1} {ms:.1f} {cpu:.1f}", flush=True)
            times[name].append(ms)
            cpus[name].append(cpu)
            if name not in settled:
                settled[name] = frame
                with open(os.path.join(out_dir, name + ".ppm"), "wb") as f:
                    f.write(screen.ppm(frame))
    for name, _ in programs:
        print(f"median {name} {median(times[name]):.1f} {median(cpus[name]):.1f}")
    if len(programs) >= 2:
        a, b = (settled[name] for name, _ in programs[:2])
        differing = sum(1 for i in range(0, len(a), 4) if a[i:i + 3] != b[i:i + 3])
        print(f"differing {differing}")


if __name__ == "__main__":
    main()
