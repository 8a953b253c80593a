#!/usr/bin/env python3
"""Totals the GoogleTest XML results of one CTest run.

Usage: count-results.py RESULT_DIR TEST_NAME...
Prints "PASSED FAILED". A test executable that left no XML result (it
crashed, or the watchdog ended it) is counted from the case log the shared
test main keeps beside it ("<name>.cases"): its passed tests count as
passed, the test that was stopped and every listed test that never ran as
failed, and a line on the error output names what happened. Without a case
log either it counts as one failure.
"""
import os
import sys
import xml.etree.ElementTree as ET


def count_xml(path):
    root = ET.parse(path).getroot()
    passed = failed = 0
    for case in root.iter("testcase"):
        if case.get("status") == "notrun" or case.find("skipped") is not None:
            continue
        if case.find("failure") is not None or case.find("error") is not None:
            failed += 1
        else:
            passed += 1
    return passed, failed


def count_case_log(name, path):
    """Counts from the case log of a process that ended early; None when
    there is no case log."""
    try:
        with open(path, encoding="utf-8", errors="replace") as f:
            lines = f.read().splitlines()
    except OSError:
        return None
    listed, outcome = [], {}
    for line in lines:
        what, _, case = line.partition(" ")
        if what == "listed":
            listed.append(case)
        elif what in ("started", "passed", "failed", "skipped"):
            outcome[case] = what
    def having(state):
        return [case for case in listed if outcome.get(case) == state]
    passed = len(having("passed"))
    failed_cases, crashed, not_run = having("failed"), having("started"), having(None)
    failed = len(failed_cases) + len(crashed) + len(not_run)
    detail = f"{name}: ended without its XML result: {passed} passed, {failed} failed"
    for label, cases in (("failed", failed_cases), ("ended in", crashed), ("never ran", not_run)):
        if cases:
            detail += f"; {label}: {', '.join(cases)}"
    print(detail, file=sys.stderr)
    return passed, failed


def count(result_dir, names):
    passed = failed = 0
    for name in names:
        try:
            p, f = count_xml(os.path.join(result_dir, name + ".xml"))
        except (OSError, ET.ParseError):
            counted = count_case_log(name, os.path.join(result_dir, name + ".cases"))
            if counted is None:
                print(f"{name}: ended without a result", file=sys.stderr)
            p, f = counted if counted is not None else (0, 1)
        passed += p
        failed += f
    return passed, failed


if __name__ == "__main__":
    print(*count(sys.argv[1], sys.argv[2:]))
