#!/usr/bin/env python3
"""Every fuzz target's seeds with one allocation failing at a time.

    allocation_failures.py [--first N] [--jobs J] RUNNERS CORPUS

RUNNERS holds a runner per fuzz target (cmake/host builds them into
allocation_failures/), CORPUS a folder of seeds per target. A first run of each
seed counts the allocations the target's call makes; then every N from 1 up to
that count (or to --first) runs in a process of its own with
QUILLET_FAIL_ALLOCATION=N, since running out of memory ends the process. A run
passes when it completes cleanly (exit 0, nothing on standard error: no
sanitizer finding, no failed check, no leak) or ends in the runtime's
out-of-memory report alone. Anything else is a finding, printed with the
command that repeats it; the exit status is then 1.
"""
import argparse
import concurrent.futures
import os
import signal
import subprocess
import sys
from pathlib import Path

COUNT_PREFIX = "allocations: "
REPORT_PREFIX = "fatal: out of memory"
# A request the C library cannot meet is refused, as on the program's heap,
# not reported by the sanitizer: it must reach the runtime's report too.
BASE_ENVIRONMENT = dict(os.environ, ASAN_OPTIONS="allocator_may_return_null=1")


def run(runner, seed, failing):
    environment = dict(BASE_ENVIRONMENT)
    if failing:
        environment["QUILLET_FAIL_ALLOCATION"] = str(failing)
    return subprocess.run([str(runner), str(seed)], env=environment, capture_output=True, timeout=120)


def counted_allocations(result):
    """The count a clean, completed run printed; None for any other run."""
    lines = result.stdout.decode(errors="replace").splitlines()
    if result.returncode != 0 or result.stderr.strip() or not lines or not lines[-1].startswith(COUNT_PREFIX):
        return None
    return int(lines[-1][len(COUNT_PREFIX):])


def ended_in_report(result):
    errors = result.stderr.decode(errors="replace").strip().splitlines()
    return result.returncode == -signal.SIGABRT and len(errors) == 1 and errors[0].startswith(REPORT_PREFIX)


def finding(runner, seed, failing, result, what):
    errors = result.stderr.decode(errors="replace").strip().splitlines()
    repeat = f"QUILLET_FAIL_ALLOCATION={failing} {runner} {seed}" if failing else f"{runner} {seed}"
    return f"{what} (exit {result.returncode}): {repeat}\n    " + "\n    ".join(errors[-12:])


def check_seed(runner, seed, first, pool):
    """(runs, completed, reported, findings) of one seed."""
    counting = run(runner, seed, 0)
    total = counted_allocations(counting)
    if total is None:
        return 1, 0, 0, [finding(runner, seed, 0, counting, "the run without a failure is not clean")]
    last = total if first is None else min(total, first)
    results = pool.map(lambda n: (n, run(runner, seed, n)), range(1, last + 1))
    completed = reported = 0
    findings = []
    for n, result in results:
        if counted_allocations(result) is not None:
            completed += 1
        elif ended_in_report(result):
            reported += 1
        else:
            findings.append(finding(runner, seed, n, result, f"allocation {n} of {total}"))
    return 1 + last, completed, reported, findings


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--first", type=int, help="fail only the first N allocations of each seed")
    parser.add_argument("--jobs", type=int, default=os.cpu_count() or 1)
    parser.add_argument("runners", type=Path)
    parser.add_argument("corpus", type=Path)
    arguments = parser.parse_args()

    runners = sorted(path for path in arguments.runners.iterdir() if os.access(path, os.X_OK))
    if not runners:
        sys.exit(f"no runners in {arguments.runners}")
    all_findings = []
    with concurrent.futures.ThreadPoolExecutor(arguments.jobs) as pool:
        for runner in runners:
            seeds = sorted((arguments.corpus / runner.name).iterdir())
            runs = completed = reported = 0
            for seed in seeds:
                seed_runs, seed_completed, seed_reported, seed_findings = check_seed(runner, seed, arguments.first, pool)
                runs += seed_runs
                completed += seed_completed
                reported += seed_reported
                all_findings += seed_findings
            print(f"{runner.name}: {len(seeds)} seeds, {runs} runs: {reported} out-of-memory reports, "
                  f"{completed} completed with the failure handled, {runs - len(seeds) - reported - completed} findings")
    for text in all_findings:
        print(text)
    sys.exit(1 if all_findings else 0)


if __name__ == "__main__":
    main()
