#!/usr/bin/env python3
"""Fault soak: many transfers through the real plumgr-cli against ecrsim with
mixed line faults, each checked against the data it should have moved.

Every round draws its faults from its own seed (printed, so any round can be
run again alone with --seed S --rounds 1):
  - a download of the test set (PLU 1..ROWS, departments, recycling) into an
    empty register with faults; the register's memory (its state file) is then
    compared with the memory a fault-free download of the same rows leaves;
    every other download asks plumgr-cli to --verify what it sent;
  - an upload with faults from a register that holds the set; the files
    written are compared with the set.
The faults: NAKs, lost answers (silence on one frame), a register that never
answers, damaged answers, answers to another package number, late answers,
noise before answers and the line hanging up. Bytes move at 115200 baud, ten
bits a byte, unless --no-line-rate.

A round whose command reported success (exit 0, and no warning that the
register may lack records) while the register or the files differ is a silent
corruption, the one outcome the soak exists to find.

Usage: scripts/fault-soak.py [--build DIR] [--packages N] [--seed S]
                             [--rounds N] [--rows N] [--no-line-rate] [--keep]
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
# Longer than any transfer's retry budget at these sizes; a command still
# running then is counted as a hang and killed.
TRANSFER_TIMEOUT_S = 1800
LATE_WARNING = "a late reply may have answered an earlier frame"


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

    def memory(self):
        """The register's memory as its state file holds it."""
        return self.state.read_text() if self.state.exists() else ""


class Outcome:
    def __init__(self, status, stderr):
        self.status = status
        lines = stderr.strip().splitlines()
        self.message = lines[-1] if lines else ""
        self.warned_late = LATE_WARNING in stderr


def cli(build, settings, port, *args):
    command = [str(build / "src/cli/plumgr-cli"), "--settings", str(settings), "--port", port,
               "--baud", "115200", "--quiet"] + list(args)
    try:
        result = subprocess.run(command, capture_output=True, text=True,
                                timeout=TRANSFER_TIMEOUT_S)
    except subprocess.TimeoutExpired:
        return Outcome(None, f"no end after {TRANSFER_TIMEOUT_S} s")
    return Outcome(result.returncode, result.stderr)


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


def first_difference(want, got):
    """The first line where two state files differ, for the report."""
    for a, b in zip(want.splitlines(), got.splitlines()):
        if a != b:
            return f"register holds '{b[:40]}', expected '{a[:40]}'"
    return "register memory differs in length"


# Late answers cost a retry interval a frame, so those rounds move fewer rows.
LATE_ROUND_ROWS = 24


def draw_faults(rng):
    """A mix of faults for one transfer; the rarer kinds now and then."""
    args = ["--seed", str(rng.randrange(1 << 30))]
    for option, top in (("--nak-rate", 0.08), ("--corrupt-rate", 0.04),
                        ("--noise-rate", 0.05), ("--drop-rate", 0.004)):
        if rng.random() < 0.7:
            args += [option, f"{rng.uniform(0, top):.4f}"]
    if rng.random() < 0.05:
        args += ["--wrong-number-first", str(rng.randrange(1, 4))]
    if rng.random() < 0.08:
        args += ["--hangup-after", str(rng.randrange(2, 400))]
    if rng.random() < 0.08:
        args += ["--delay-ms", str(rng.choice((1500, 1700, 2100, 2500)))]
    if rng.random() < 0.01:
        args += ["--silent"]
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
        self.frames = 0
        self.packages = 0
        self.resends = 0
        self.rounds = 0
        self.ok = 0
        self.failed = {}
        self.failed_seeds = {}
        self.unexpected = []
        self.warned = []
        self.silent = []

    def add(self, frames):
        self.frames += len(frames)
        # A package moved: the register took it (ACK) or answered it with its data.
        self.packages += sum(1 for f in frames if f.get("reply") in ("ack", "frame"))
        self.resends += resends(frames)

    def outcome(self, seed, what, outcome, differ):
        """Counts the round and returns its verdict for the round's line."""
        self.rounds += 1
        if outcome.status is None or outcome.status not in (0, 1):
            self.unexpected.append(f"seed {seed} {what}: exit {outcome.status}: {outcome.message}")
            return "UNEXPECTED END"
        if outcome.status == 0 and differ and outcome.warned_late:
            self.warned.append(f"seed {seed} {what}: exit 0 with the late-reply warning; {differ}")
            return "differs, with the late-reply warning"
        if outcome.status == 0 and differ:
            self.silent.append(f"seed {seed} {what}: exit 0 but {differ}")
            return "SILENT CORRUPTION"
        if outcome.status == 0:
            self.ok += 1
            return "matched"
        key = f"{what}: exit {outcome.status}: {outcome.message}"
        self.failed[key] = self.failed.get(key, 0) + 1
        self.failed_seeds.setdefault(key, []).append(seed)
        return "failed"


def make_source(build, work):
    source = work / "source" / "shop.PLU"
    source.parent.mkdir()
    settings = work / "SYSTEM.CFG"
    subprocess.run([str(build / "src/cli/plumgr-cli"), "--settings", str(settings), "--quiet",
                    "fill-test-data", str(source)], check=True)
    return source, settings


def download(build, settings, register, source, rows, verify):
    args = ["download", str(source), "--kinds", KINDS, "--from", "1", "--to", str(rows)]
    if verify:
        args.append("--verify")
    return cli(build, settings, str(register.link), *args)


class References:
    """The register's memory after a fault-free download, by the rows moved."""

    def __init__(self, build, work, settings, source, line_rate):
        self.build, self.work, self.settings, self.source = build, work, settings, source
        self.line_rate = line_rate
        self.memories = {}
        self.states = {}

    def _make(self, rows):
        register = Register(self.build, self.work, f"reference-{rows}", [], self.line_rate)
        outcome = download(self.build, self.settings, register, self.source, rows, False)
        register.stop()
        if outcome.status != 0:
            sys.exit(f"fault-soak: the fault-free download failed: {outcome.message}")
        self.memories[rows] = register.memory()
        self.states[rows] = register.state

    def memory(self, rows):
        if rows not in self.memories:
            self._make(rows)
        return self.memories[rows]

    def state(self, rows):
        self.memory(rows)
        return self.states[rows]


def download_round(options, work, settings, source, rows, seed, faults, references, tally):
    want = references.memory(rows)
    register = Register(options.build, work, "down", faults, options.line_rate)
    try:
        outcome = download(options.build, settings, register, source, rows,
                           verify=seed % 4 == 1)
    finally:
        register.stop()
    tally.add(register.frames())
    differ = ""
    if outcome.status == 0 and want != register.memory():
        differ = first_difference(want, register.memory())
    return outcome, tally.outcome(seed, "download", outcome, differ)


def upload_round(options, work, settings, source, rows, seed, faults, references, tally):
    loaded = references.state(options.rows)
    register = Register(options.build, work, "up", ["--state", str(loaded)] + faults,
                        options.line_rate)
    target = work / "up" / "shop.PLU"
    shutil.rmtree(target.parent, ignore_errors=True)
    target.parent.mkdir()
    try:
        outcome = cli(options.build, settings, str(register.link), "upload", str(target),
                      "--kinds", KINDS, "--from", "1", "--to", str(rows))
    finally:
        register.stop()
    tally.add(register.frames())
    differ = differing_files(source, target, rows) if outcome.status == 0 else []
    verdict = tally.outcome(seed, "upload", outcome,
                            ", ".join(differ) + (" differ" if differ else ""))
    return outcome, verdict


def report(tally, options, seed, started):
    minutes = (time.monotonic() - started) / 60
    print(f"\nrounds {tally.rounds} (seeds {options.seed} to {seed - 1}) in {minutes:.1f} min, "
          f"{options.rows} rows, {'115200 baud at line rate' if options.line_rate else 'no line rate'}")
    print(f"frames the register received: {tally.frames}")
    print(f"packages moved (taken or answered by the register): {tally.packages}")
    print(f"resends: {tally.resends}")
    print(f"transfers that succeeded and matched: {tally.ok}")
    print(f"transfers failed: {sum(tally.failed.values())}")
    for text, count in sorted(tally.failed.items()):
        seeds = tally.failed_seeds[text]
        shown = " ".join(str(s) for s in seeds[:5]) + (" ..." if len(seeds) > 5 else "")
        print(f"  {count} x {text} (seeds {shown})")
    print(f"unexpected ends (crash, hang, other exit status): {len(tally.unexpected)}")
    for text in tally.unexpected:
        print(f"  {text}")
    print(f"successes with the late-reply warning whose register differs: {len(tally.warned)}")
    for text in tally.warned:
        print(f"  {text}")
    print(f"silent corruptions: {len(tally.silent)}")
    for text in tally.silent:
        print(f"  {text}")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    root = Path(__file__).resolve().parent.parent
    parser.add_argument("--build", type=Path, default=root / "build")
    parser.add_argument("--packages", type=int, default=100_000,
                        help="stop once this many packages have moved")
    parser.add_argument("--rounds", type=int, default=0, help="stop after this many rounds")
    parser.add_argument("--seed", type=int, default=1, help="seed of the first round")
    parser.add_argument("--rows", type=int, default=3000)
    parser.add_argument("--no-line-rate", dest="line_rate", action="store_false",
                        help="let ecrsim move bytes at once instead of at 115200 baud")
    parser.add_argument("--keep", action="store_true", help="keep the work folder")
    options = parser.parse_args()
    # A soak started in the background ignores SIGINT; either signal ends it
    # after tidying up the round under way, with the figures so far.
    for number in (signal.SIGINT, signal.SIGTERM):
        signal.signal(number, signal.default_int_handler)

    work = Path(tempfile.mkdtemp(prefix="plumgr-soak-"))
    started = time.monotonic()
    tally = Tally()
    seed = options.seed
    try:
        source, settings = make_source(options.build, work)
        references = References(options.build, work, settings, source, options.line_rate)
        while tally.packages < options.packages and (
                options.rounds == 0 or tally.rounds < options.rounds):
            rng = random.Random(seed)
            faults = draw_faults(rng)
            rows = rows_of_round(faults, options.rows)
            run = download_round if seed % 2 else upload_round
            outcome, verdict = run(options, work, settings, source, rows, seed, faults,
                                   references, tally)
            print(f"seed {seed} {run.__name__[:-6]} {rows} rows: {' '.join(faults)}: "
                  f"exit {outcome.status}: {outcome.message[:80]}: {verdict}: "
                  f"{tally.packages} packages so far", flush=True)
            seed += 1
    except KeyboardInterrupt:
        print("\ninterrupted: the round under way is not counted", flush=True)
    finally:
        if options.keep:
            print(f"work folder: {work}")
        else:
            shutil.rmtree(work, ignore_errors=True)

    report(tally, options, seed, started)
    return 1 if tally.silent or tally.unexpected else 0


if __name__ == "__main__":
    sys.exit(main())
