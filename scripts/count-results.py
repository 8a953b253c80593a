#!/usr/bin/env python3
"""Totals the GoogleTest XML results of one CTest run.

Usage: count-results.py RESULT_DIR TEST_NAME...
Prints "PASSED FAILED". A test executable that left no result file (it
crashed, or the watchdog ended it) counts as one failure.
"""
import os
import sys
import xml.etree.ElementTree as ET

result_dir, names = sys.argv[1], sys.argv[2:]
passed = failed = 0
for name in names:
    path = os.path.join(result_dir, name + ".xml")
    try:
        root = ET.parse(path).getroot()
    except (OSError, ET.ParseError):
        failed += 1
        continue
    for case in root.iter("testcase"):
        if case.get("status") == "notrun" or case.find("skipped") is not None:
            continue
        if case.find("failure") is not None or case.find("error") is not None:
            failed += 1
        else:
            passed += 1
print(passed, failed)
