#!/usr/bin/env python3
"""No test needs the GUI library: no executable or library that the build
made loads a Qt library (ldd of each), so the model's tests run the same on a
machine without a display and with the screen renderer never built. The
renderer's own files, named after the result file where the build has them
(its library and its test, which runs Qt on its offscreen platform), are the
only exceptions.

Usage: no_gui_library_check.py BIN_DIR RESULT_XML [RENDERER_FILE...]
"""
import os
import subprocess
import sys
from xml.sax.saxutils import quoteattr


def is_elf(path):
    try:
        with open(path, "rb") as f:
            return f.read(4) == b"\x7fELF"
    except OSError:
        return False


def findings_in(bin_dir, exempt):
    findings = []
    checked = 0
    for name in sorted(os.listdir(bin_dir)):
        path = os.path.join(bin_dir, name)
        if name in exempt or not os.path.isfile(path) or not is_elf(path):
            continue
        checked += 1
        result = subprocess.run(["ldd", path], capture_output=True, text=True)
        for line in result.stdout.splitlines():
            if "libQt" in line:
                findings.append(f"{name} loads {line.strip().split()[0]}")
    if checked == 0:
        findings.append(f"no executable in {bin_dir}")
    return findings


def main():
    if len(sys.argv) < 3:
        print(__doc__, file=sys.stderr)
        return 2
    bin_dir, result_xml = sys.argv[1:3]
    findings = findings_in(bin_dir, set(sys.argv[3:]))
    for finding in findings:
        print(finding)
    failure = f"<failure message={quoteattr(chr(10).join(findings))}/>" if findings else ""
    os.makedirs(os.path.dirname(os.path.abspath(result_xml)), exist_ok=True)
    with open(result_xml, "w") as f:
        f.write('<?xml version="1.0" encoding="UTF-8"?>\n<testsuites><testsuite name="NoGuiLibrary">'
                f'<testcase name="NoExecutableLoadsQt" status="run">{failure}</testcase>'
                '</testsuite></testsuites>\n')
    return 1 if findings else 0


if __name__ == "__main__":
    sys.exit(main())
