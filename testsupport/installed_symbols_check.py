#!/usr/bin/env python3
"""Checks that nothing installed carries test equipment.

Installs the build into a fresh directory and reads the dynamic symbol table
of every ELF file there. It fails when a test-equipment library was
installed, when an installed file defines a symbol that a test-equipment
library defines (its code was compiled in twice, for instance by a glob), or
when an installed file defines anything in the test equipment's own
namespaces.

usage: installed_symbols_check.py CMAKE BUILD_DIR WORK_DIR RESULT_XML EQUIPMENT_LIBRARY...
The result goes to RESULT_XML in GoogleTest's form, one test case, so the
test script counts it with the others.
"""
import os
import shutil
import subprocess
import sys

from check_result import write_findings
from elf_dynamic import ElfFile, is_elf

# Namespaces that only test equipment uses (the virtual drive, the toolkit's
# test driver, the shared test main).
EQUIPMENT_NAMESPACES = ("sim::", "gwtest::", "testsupport::")


def equipment_symbols_of(path):
    """Mangled C++ symbols that a test-equipment file defines strongly: a
    shared library's dynamic table, or the global symbols of a static
    library's members (nm reads archives)."""
    if is_elf(path):
        return {s for s in ElfFile(path).strong_symbols() if s.startswith("_Z")}
    out = subprocess.run(["nm", "--defined-only", path], check=True, capture_output=True, text=True).stdout
    symbols = set()
    for line in out.splitlines():
        parts = line.split(" ", 2)
        if len(parts) == 3 and parts[1] in ("T", "D", "B", "R") and parts[2].startswith("_Z"):
            symbols.add(parts[2])
    return symbols


def demangled(names):
    """The demangled form of each name, from one run of c++filt."""
    names = sorted(names)
    if not names:
        return {}
    out = subprocess.run(["c++filt"], input="\n".join(names) + "\n", check=True,
                         capture_output=True, text=True).stdout.splitlines()
    return dict(zip(names, out))


def main():
    if len(sys.argv) < 6:
        print(__doc__, file=sys.stderr)
        return 2
    cmake, build_dir, work_dir, result_xml = sys.argv[1:5]
    equipment = sys.argv[5:]
    findings = check(cmake, build_dir, work_dir, equipment)
    for finding in findings:
        print(finding)
    write_findings(result_xml, "InstalledSymbols", "NoTestEquipment", findings)
    return 1 if findings else 0


def check(cmake, build_dir, work_dir, equipment):
    """The findings; empty when nothing installed carries test equipment."""
    prefix = os.path.join(work_dir, "install")
    shutil.rmtree(prefix, ignore_errors=True)
    result = subprocess.run([cmake, "--install", build_dir, "--prefix", prefix],
                            capture_output=True, text=True)
    if result.returncode != 0:
        return ["install failed:\n" + result.stdout + result.stderr]

    equipment_names = {os.path.basename(p) for p in equipment}
    equipment_symbols = set()
    for library in equipment:
        equipment_symbols |= equipment_symbols_of(library)
    if not equipment_symbols:
        return ["no symbols read from the test equipment: " + " ".join(equipment)]

    findings = []
    checked = 0
    installed = {}
    for root, _, files in os.walk(prefix):
        for name in sorted(files):
            path = os.path.join(root, name)
            if os.path.islink(path) or not is_elf(path):
                continue
            checked += 1
            shown = os.path.relpath(path, prefix)
            if name in equipment_names:
                findings.append(f"{shown}: test equipment installed")
                continue
            installed[shown] = ElfFile(path).strong_symbols()
    readable = demangled(set().union(*installed.values()) if installed else set())
    for shown, symbols in sorted(installed.items()):
        for symbol in sorted(symbols & equipment_symbols):
            findings.append(f"{shown}: defines {symbol} of the test equipment")
        for symbol in sorted(readable[s] for s in symbols):
            if symbol.startswith(EQUIPMENT_NAMESPACES):
                findings.append(f"{shown}: defines {symbol}")

    if checked == 0:
        return ["nothing installed to check"]
    print(f"{checked} installed files checked, {len(findings)} findings")
    return findings


if __name__ == "__main__":
    sys.exit(main())
