#!/usr/bin/env python3
"""Fault soak: many transfers through the real plumgr-cli against ecrsim with
mixed line faults, each checked against the data it should have moved.

Every round draws its faults from its own seed (printed, so any round can be
run again alone with --seed S --rounds 1):
  - a download of the test set (PLU 1..ROWS, departments, recycling) into an
    empty register with faults; the register's memory is then read back by a
    fault-free upload and compared with the set;
  - an upload with faults from a register that holds the set; the files
    written are compared with the set.
A round whose command reported success while the register or the files differ
is a silent corruption, the one outcome the soak exists to find.

Usage: scripts/fault-soak.py [--build DIR] [--packages N] [--seed S]
                             [--rounds N] [--rows N] [--line-rate] [--keep]
"""

import argparse
import json
import os
import random
import shutil
import signal
import subprocess
import sys
import tempfile
import time
from pathlib import Path

COMPARED = (".PLU", ".DEP", ".RCY")
KINDS = "plu,department,recycling"


class Register:
    """One ecrsim on a pseudo-terminal linked into the work folder."""

    def __init__(self, build, work, name, args, line_rate):
        self.link = work / f"{name}.tty"
        self.log = work / f"{name}.jsonl"
        self.state = work / f"{name}.state"
        for stale in (self.link, self.log, self.state):
            stale.unlink(missing_ok=True)
        command = [str(build / "src/sim/ecrsim"), "--link", str(self.link), "--speeds", "any",
                   "--log", str(self.log), "--save-state", str(self.state)] + args
        if not line_rate:
            command.append("--no-line-rate")
        self.process = subprocess.Popen(command, stdout=subprocess.PIPE,
                                        stderr=subprocess.DEVNULL, text=True)
        self.process.stdout.readline()  # the path line: the link exists now

    def stop(self):
        if self.process.poll() is None:
            self.process.send_signal(signal.SIGTERM)
        self.process.wait(timeout=30)

    def frames(self):
        frames = []
        if self.log.exists():
            for line in self.log.read_text().splitlines():
                entry = json.loads(line)
                if "type" in entry:
                    frames.append(entry)
        return frames


def cli(build, settings, port, *args):
    command = [str(build / "src/cli/plumgr-cli"), "--settings", str(settings), "--port", port,
               "--baud", "115200", "--quiet"] + list(args)
    result = subprocess.run(command, capture_output=True, text=True, timeout=3600)
    last = (result.stderr.strip().splitlines() or [""])[-1]
    return result.returncode, last


def differing_files(expected_set, actual_set, rows):
    """The compared files that differ; of the .PLU only the rows that travelled."""
    differ = []
    for extension in COMPARED:
        want = expected_set.with_suffix(extension)
        got = actual_set.with_suffix(extension)
        if not got.exists():
            differ.append(extension)
            continue
        want_bytes, got_bytes = want.read_bytes(), got.read_bytes()
        if extension == ".PLU":
            want_bytes = b"".join(want_bytes.splitlines(keepends=True)[:rows])
            got_bytes = b"".join(got_bytes.splitlines(keepends=True)[:rows])
        if want_bytes != got_bytes:
            differ.append(extension)
    return differ


# Late answers cost a retry interval a frame, so those rounds move fewer rows.
LATE_ROUND_ROWS = 24


def draw_faults(rng):
    """A mix of faults for one transfer; late answers and hang-ups now and then."""
    args = ["--seed", str(rng.randrange(1 << 30))]
    for option, top in (("--nak-rate", 0.08), ("--corrupt-rate", 0.04),
                        ("--noise-rate", 0.05), ("--drop-rate", 0.004)):
        if rng.random() < 0.7:
            args += [option, f"{rng.uniform(0, top):.4f}"]
    if rng.random() < 0.08:
        args += ["--hangup-after", str(rng.randrange(2, 400))]
    if rng.random() < 0.08:
        args += ["--delay-ms", str(rng.choice((1500, 1700, 2100, 2500)))]
    return args


def rows_of_round(faults, rows):
    return min(rows, LATE_ROUND_ROWS) if "--delay-ms" in faults else rows


def resends(frames):
    """Frames that repeat the one before them (the PC sent it again)."""
    count = 0
    for previous, frame in zip(frames, frames[1:]):
        if (frame["type"], frame["number"], frame.get("data")) == (
                previous["type"], previous["number"], previous.get("data")):
            count += 1
    return count


class Tally:
    def __init__(self):
        self.packages = 0
        self.resends = 0
        self.rounds = 0
        self.ok = 0
        self.failed = {}
        self.silent = []

    def add(self, frames):
        self.packages += len(frames)
        self.resends += resends(frames)

    def outcome(self, seed, what, status, message, differ):
        self.rounds += 1
        if status == 0 and differ:
            self.silent.append(f"seed {seed} {what}: exit 0 but {', '.join(differ)} differ")
        elif status == 0:
            self.ok += 1
        else:
            key = f"{what}: exit {status}: {message}"
            self.failed[key] = self.failed.get(key, 0) + 1


def make_source(build, work, rows):
    source = work / "source" / "shop.PLU"
    source.parent.mkdir()
    settings = work / "SYSTEM.CFG"
    subprocess.run([str(build / "src/cli/plumgr-cli"), "--settings", str(settings), "--quiet",
                    "fill-test-data", str(source)], check=True)
    return source, settings


def register_with_set(build, work, settings, source, rows, line_rate):
    """A register state holding the set, made by one fault-free download."""
    register = Register(build, work, "loaded", [], line_rate)
    status, message = cli(build, settings, str(register.link), "download", str(source),
                          "--kinds", KINDS, "--from", "1", "--to", str(rows))
    register.stop()
    if status != 0:
        sys.exit(f"fault-soak: the fault-free download failed: {message}")
    return register.state


def download_round(build, work, settings, source, rows, seed, faults, line_rate, tally):
    register = Register(build, work, "down", faults, line_rate)
    status, message = cli(build, settings, str(register.link), "download", str(source),
                          "--kinds", KINDS, "--from", "1", "--to", str(rows))
    register.stop()
    tally.add(register.frames())
    differ = []
    if status == 0:
        reader = Register(build, work, "check", ["--state", str(register.state)], line_rate)
        back = work / "back" / "shop.PLU"
        shutil.rmtree(back.parent, ignore_errors=True)
        back.parent.mkdir()
        check_status, check_message = cli(build, settings, str(reader.link), "upload", str(back),
                                          "--kinds", KINDS, "--from", "1", "--to", str(rows))
        reader.stop()
        if check_status != 0:
            sys.exit(f"fault-soak: seed {seed}: the fault-free read-back failed: {check_message}")
        differ = differing_files(source, back, rows)
    tally.outcome(seed, "download", status, message, differ)


def upload_round(build, work, settings, source, rows, seed, faults, loaded, line_rate, tally):
    register = Register(build, work, "up", ["--state", str(loaded)] + faults, line_rate)
    target = work / "up" / "shop.PLU"
    shutil.rmtree(target.parent, ignore_errors=True)
    target.parent.mkdir()
    status, message = cli(build, settings, str(register.link), "upload", str(target),
                          "--kinds", KINDS, "--from", "1", "--to", str(rows))
    register.stop()
    tally.add(register.frames())
    differ = differing_files(source, target, rows) if status == 0 else []
    tally.outcome(seed, "upload", status, message, differ)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    root = Path(__file__).resolve().parent.parent
    parser.add_argument("--build", type=Path, default=root / "build")
    parser.add_argument("--packages", type=int, default=100_000,
                        help="stop once this many frames reached the register")
    parser.add_argument("--rounds", type=int, default=0, help="stop after this many rounds")
    parser.add_argument("--seed", type=int, default=1, help="seed of the first round")
    parser.add_argument("--rows", type=int, default=3000)
    parser.add_argument("--line-rate", action="store_true",
                        help="let ecrsim pace bytes at 115200 baud (much slower)")
    parser.add_argument("--keep", action="store_true", help="keep the work folder")
    options = parser.parse_args()

    work = Path(tempfile.mkdtemp(prefix="plumgr-soak-"))
    started = time.monotonic()
    tally = Tally()
    try:
        source, settings = make_source(options.build, work, options.rows)
        loaded = register_with_set(options.build, work, settings, source, options.rows,
                                   options.line_rate)
        seed = options.seed
        while tally.packages < options.packages and (
                options.rounds == 0 or tally.rounds < options.rounds):
            rng = random.Random(seed)
            faults = draw_faults(rng)
            rows = rows_of_round(faults, options.rows)
            if seed % 2:
                download_round(options.build, work, settings, source, rows, seed, faults,
                               options.line_rate, tally)
            else:
                upload_round(options.build, work, settings, source, rows, seed, faults, loaded,
                             options.line_rate, tally)
            print(f"seed {seed}: {' '.join(faults)}: {tally.packages} packages so far",
                  flush=True)
            seed += 1
    finally:
        if options.keep:
            print(f"work folder: {work}")
        else:
            shutil.rmtree(work, ignore_errors=True)

    minutes = (time.monotonic() - started) / 60
    print(f"\nrounds {tally.rounds} (seeds {options.seed} to {seed - 1}) in {minutes:.1f} min")
    print(f"packages moved (frames the register received): {tally.packages}")
    print(f"resends: {tally.resends}")
    print(f"transfers that succeeded and matched: {tally.ok}")
    print(f"transfers failed: {sum(tally.failed.values())}")
    for text, count in sorted(tally.failed.items()):
        print(f"  {count} x {text}")
    print(f"silent corruptions: {len(tally.silent)}")
    for text in tally.silent:
        print(f"  {text}")
    return 1 if tally.silent else 0


if __name__ == "__main__":
    sys.exit(main())
