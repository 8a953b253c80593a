"""The result file of a check that the test command counts: a GoogleTest-style
XML with one suite and its cases, each passed or failed with its message.
"""
import os
from xml.sax.saxutils import quoteattr


def write_cases(path, suite, cases):
    """Writes `cases`, a list of (case name, problem or None), as `suite`."""
    parts = []
    for name, problem in cases:
        failure = f"<failure message={quoteattr(problem)}/>" if problem else ""
        parts.append(f"<testcase name={quoteattr(name)} status=\"run\">{failure}</testcase>")
    os.makedirs(os.path.dirname(os.path.abspath(path)), exist_ok=True)
    with open(path, "w", encoding="utf-8") as f:
        f.write('<?xml version="1.0" encoding="UTF-8"?>\n'
                f"<testsuites><testsuite name={quoteattr(suite)}>{''.join(parts)}</testsuite></testsuites>\n")


def write_findings(path, suite, case, findings):
    """One case that fails with the findings, one a line, or passes without."""
    write_cases(path, suite, [(case, "\n".join(findings) if findings else None)])
