#!/usr/bin/env python3
"""The test command's totals count every test of a test process, even of
one that the watchdog or a crash ended before GoogleTest wrote its XML: a
test executable (platform_test, with its tests made to hang, crash or pass)
runs as CTest runs it, and the counting script (scripts/count-results.py)
totals what it left.

Usage: count_results_check.py COUNT_SCRIPT TEST_EXECUTABLE RESULT_XML
"""
import os
import subprocess
import sys
import tempfile

from check_result import write_cases

FIRST = "Watchdog.DISABLED_PassesFirst"
LAST = "Watchdog.DISABLED_WouldRunLast"

# (case, the tests run in this order, counts the script must give, texts its
# report must hold)
CASES = [
    ("StoppedByTheWatchdog", [FIRST, "Watchdog.DISABLED_HangsForever", LAST], "1 2",
     ["failed: Watchdog.DISABLED_HangsForever", "never ran: " + LAST]),
    ("EndedByACrash", [FIRST, "Watchdog.DISABLED_Crashes", LAST], "1 2",
     ["ended in: Watchdog.DISABLED_Crashes", "never ran: " + LAST]),
    ("RanToTheEnd", [FIRST, LAST], "2 0", []),
]


def run_child(executable, tests, xml):
    env = dict(os.environ, TORVAN_WATCHDOG_MS="200")
    return subprocess.run(
        [executable, "--gtest_also_run_disabled_tests", "--gtest_filter=" + ":".join(tests),
         "--gtest_output=xml:" + xml],
        env=env, capture_output=True, text=True, timeout=120)


def count(script, result_dir, name):
    return subprocess.run([sys.executable, script, result_dir, name], capture_output=True, text=True,
                          timeout=60)


def check(script, executable):
    """(case name, problem or None) for every case."""
    outcomes = []
    with tempfile.TemporaryDirectory(prefix="torvan-count-") as results:
        for name, tests, expected, reported in CASES:
            child = run_child(executable, tests, os.path.join(results, name + ".xml"))
            counted = count(script, results, name)
            problems = []
            if counted.stdout.strip() != expected:
                problems.append(f"counted \"{counted.stdout.strip()}\", expected \"{expected}\"")
            problems += [f"the report lacks \"{text}\"" for text in reported if text not in counted.stderr]
            if problems:
                problems.append(f"child status {child.returncode}; report: {counted.stderr.strip()}")
            outcomes.append((name, "; ".join(problems) or None))
        # Neither XML nor case log: the executable counts as one failure.
        counted = count(script, results, "NeverStarted")
        outcomes.append(("NeitherResultNorCaseLog",
                         None if counted.stdout.strip() == "0 1" else f"counted \"{counted.stdout.strip()}\""))
    return outcomes


def main():
    if len(sys.argv) != 4:
        print(__doc__, file=sys.stderr)
        return 2
    script, executable, result_xml = sys.argv[1:4]
    outcomes = check(script, executable)
    for name, problem in outcomes:
        print(f"{'FAIL' if problem else 'ok  '} {name}{': ' + problem if problem else ''}")
    write_cases(result_xml, "CountResults", outcomes)
    return 1 if any(problem for _, problem in outcomes) else 0


if __name__ == "__main__":
    sys.exit(main())
