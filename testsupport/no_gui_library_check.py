#!/usr/bin/env python3
"""No test needs the GUI library: no executable or library that the build
made loads a Qt library, directly or through another, so the model's tests
run the same on a machine without a display and with the screen renderer
never built. The
renderer's own files, named after the result file where the build has them
(its library and its test, which runs Qt on its offscreen platform), are the
only exceptions.

Usage: no_gui_library_check.py BIN_DIR RESULT_XML [RENDERER_FILE...]
"""
import os
import subprocess
import sys

from check_result import write_findings
from elf_dynamic import ElfFile, is_elf


def system_libraries():
    """Where the dynamic loader finds each library name outside the build."""
    out = subprocess.run(["ldconfig", "-p"], capture_output=True, text=True).stdout
    places = {}
    for line in out.splitlines()[1:]:
        name, _, path = line.strip().partition(" => ")
        places.setdefault(name.split(" ", 1)[0], path)
    return places


class Loader:
    """The libraries a file loads, as the dynamic loader resolves them: each
    needed name beside the file first (the build's run path is $ORIGIN),
    then in the system's places; every library is read once."""

    def __init__(self, bin_dir):
        self._bin_dir = bin_dir
        self._system = system_libraries()
        self._needed = {}

    def _path_of(self, name):
        beside = os.path.join(self._bin_dir, name)
        return beside if os.path.isfile(beside) else self._system.get(name)

    def _direct(self, path):
        if path not in self._needed:
            try:
                self._needed[path] = ElfFile(path).needed()
            except (OSError, ValueError):
                self._needed[path] = []
        return self._needed[path]

    def loads(self, path):
        """Every library name the file loads, directly or through another."""
        seen = set()
        pending = list(self._direct(path))
        while pending:
            name = pending.pop()
            if name in seen:
                continue
            seen.add(name)
            found = self._path_of(name)
            if found:
                pending.extend(self._direct(found))
        return seen


def findings_in(bin_dir, exempt):
    findings = []
    checked = 0
    loader = Loader(bin_dir)
    for name in sorted(os.listdir(bin_dir)):
        path = os.path.join(bin_dir, name)
        if name in exempt or not os.path.isfile(path) or not is_elf(path):
            continue
        checked += 1
        for library in sorted(loader.loads(path)):
            if "libQt" in library:
                findings.append(f"{name} loads {library}")
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
    write_findings(result_xml, "NoGuiLibrary", "NoExecutableLoadsQt", findings)
    return 1 if findings else 0


if __name__ == "__main__":
    sys.exit(main())
