#!/usr/bin/env python3
"""No widget is kept by a plain pointer: a pointer to a widget that outlives
the call that got it (a member of a class or struct, a variable at namespace
scope, a static local, a container of such pointers) would still point at a
new widget made at the same address after the old one was destroyed. Such
places hold a GwRef, which knows when its widget is gone.

A reference kept the same way is the same fault and is reported too. The
widget classes are GwCore and every class derived from it, in the toolkit or
in a subsystem. The few places listed in kept_widget_pointers.txt keep a plain pointer for a
reason given there (the toolkit's own widget store, a structure that lives
only during one call, an owner that is told of the destruction); an entry
that no longer matches a declaration is reported too, so the list stays true.

Usage: kept_widget_pointer_check.py SOURCE_DIR RESULT_XML
"""
import os
import re
import sys

from check_result import write_findings

SKIPPED_DIRS = {"build", "install", "sim", ".git", "fuzz", "testdriver", "kindstest"}
ALLOWED_FILE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "kept_widget_pointers.txt")


def strip_code(src):
    """The source without comments, string and character literals and
    preprocessor lines; line breaks stay where they were."""
    out = []
    i, n = 0, len(src)
    while i < n:
        c = src[i]
        if src.startswith("//", i):
            j = src.find("\n", i)
            i = n if j < 0 else j
            continue
        if src.startswith("/*", i):
            j = src.find("*/", i + 2)
            j = n if j < 0 else j + 2
            out.append("\n" * src.count("\n", i, j))
            i = j
            continue
        if c == '"' and i > 0 and src[i - 1] == "R":
            m = re.match(r'"([^(\s]*)\(', src[i:])
            if m:
                end = src.find(")" + m.group(1) + '"', i)
                end = n if end < 0 else end + len(m.group(1)) + 2
                out.append('""' + "\n" * src.count("\n", i, end))
                i = end
                continue
        if c in "\"'":
            j = i + 1
            while j < n and src[j] != c and src[j] != "\n":
                j += 2 if src[j] == "\\" else 1
            out.append(c + c)
            i = j + 1
            continue
        if c == "#" and not src[src.rfind("\n", 0, i) + 1 : i].strip():
            j = i
            while True:
                k = src.find("\n", j)
                if k < 0:
                    k = n
                    break
                if src[k - 1] == "\\":
                    j = k + 1
                    continue
                break
            i = k
            continue
        out.append(c)
        i += 1
    return "".join(out)


def without_parentheses(text):
    """The text with every parenthesised part taken out: parameters of
    functions and of function types are no kept pointers."""
    out, depth = [], 0
    for c in text:
        if c == "(":
            depth += 1
        elif c == ")":
            depth = max(depth - 1, 0)
        elif depth == 0:
            out.append(c)
    return "".join(out)


def declarator(statement):
    """The statement up to its initialiser: the first "=" outside
    parentheses (a default argument is no initialiser)."""
    depth = 0
    for i, c in enumerate(statement):
        if c == "(":
            depth += 1
        elif c == ")":
            depth -= 1
        elif c == "=" and depth == 0 and statement[i + 1 : i + 2] != "=" and \
                not re.search(r"(?:[=!<>+\-*/%&|^]|\boperator\s*)$", statement[:i]):
            return statement[:i]
    return statement


def widget_classes(source_dir):
    """GwCore and every class derived from it, in the toolkit or elsewhere
    (a dialog or container class of a subsystem is a widget too)."""
    bases = {}
    pattern = re.compile(r"\b(?:class|struct)\s+(\w+)\s*(?:final\s*)?:\s*((?:public|protected|private)?\s*[\w:]+"
                         r"(?:\s*,\s*(?:public|protected|private)?\s*[\w:]+)*)\s*\{")
    for path in source_files(source_dir):
        with open(os.path.join(source_dir, path), encoding="utf-8", errors="replace") as f:
            for m in pattern.finditer(strip_code(f.read())):
                parents = {p.split("::")[-1] for p in re.findall(r"[\w:]+", m.group(2))}
                bases.setdefault(m.group(1), set()).update(parents - {"public", "protected", "private"})
    widgets = {"GwCore"}
    grown = True
    while grown:
        grown = False
        for cls, parents in bases.items():
            if cls not in widgets and parents & widgets:
                widgets.add(cls)
                grown = True
    return widgets


class Scanner:
    """Walks the braces of one file and reports declarations that keep a
    widget pointer, each as (line, scope, name, declaration)."""

    def __init__(self, widgets):
        names = "|".join(sorted(widgets, key=len, reverse=True))
        self._pointer = re.compile(r"\b(?:" + names + r")\b\s*(?:const\s*)?(?:\*|&(?!&))")

    def scan(self, text):
        found = []
        stack = []  # (kind, name): kind is "ns", "class", "code" or "init"
        statement, line, start_line = "", 1, 1
        for c in text:
            if c == "\n":
                line += 1
            if c == "{":
                head = statement.strip()
                kind, name = self._opening(head, stack)
                if kind == "init":
                    self._check(head, stack, start_line, found)
                stack.append((kind, name))
                statement, start_line = "", line
            elif c == "}":
                if stack:
                    stack.pop()
                statement, start_line = "", line
            elif c == ";":
                self._check(statement.strip(), stack, start_line, found)
                statement, start_line = "", line
            else:
                if not statement.strip():
                    start_line = line
                statement += c
        return found

    @staticmethod
    def _opening(head, stack):
        outer = stack[-1][0] if stack else "ns"
        if outer in ("code", "init"):
            m = re.search(r"\b(?:struct|class|union)\s+(\w+)[^;()]*$", head)
            if m:
                return "class", m.group(1)
            # A static local with a brace initialiser.
            if re.match(r"(?:static|thread_local)\b[^()]*$", head):
                return "init", ""
            return "code", ""
        if re.search(r"\bnamespace\b[^;]*$", head) or re.search(r'\bextern\s*""$', head):
            return "ns", ""
        if re.search(r"\benum\b", head):
            return "code", ""
        m = re.search(r"\b(?:struct|class|union)\s+((?:\w+::)*\w+)(?:\s+final)?\s*(?::(?!:)[^;(){}]*)?$", head)
        if m:
            return "class", m.group(1).split("::")[-1]
        if re.search(r"\b(?:struct|class|union)\s*$", head):
            return "class", ""
        # A brace initialiser of a variable at namespace or class scope, or
        # the body of a function.
        if re.search(r"\)\s*(?:const|override|final|noexcept|mutable|->\s*[\w:<>*& ]+|\s)*$", head) or \
                re.search(r"\)\s*:\s*.*$", head):
            return "code", ""
        if re.search(r"=\s*$", head) or re.search(r"(?:[\w>]\s+|[*&]\s*)\w+\s*$", head):
            return "init", ""
        return "code", ""

    def _check(self, statement, stack, line, found):
        kind = stack[-1][0] if stack else "ns"
        statement = " ".join(statement.split())
        if kind in ("code", "init"):
            if not re.match(r"(?:static|thread_local)\b", statement):
                return
        elif kind not in ("ns", "class"):
            return
        statement = re.sub(r"^(?:public|private|protected)\s*:\s*", "", statement)
        if re.match(r"(?:using|typedef|friend|return|template)\b", statement):
            return
        head = declarator(statement)
        bare = without_parentheses(head)
        if ")" in head and re.fullmatch(r"\s*(?:const|override|final|noexcept|volatile|&|\s)*", head.rsplit(")", 1)[1]):
            # A function declaration: its return value is no kept pointer.
            return
        if not self._pointer.search(bare):
            return
        names = re.findall(r"(\w+)\s*(?:\[[^\]]*\])?\s*$", bare.strip())
        name = names[0] if names else "?"
        scope = "::".join(n for k, n in stack if k == "class" and n)
        found.append((line, scope, name, statement[:140]))


def source_files(source_dir):
    for root, dirs, files in os.walk(source_dir):
        rel = os.path.relpath(root, source_dir)
        dirs[:] = sorted(d for d in dirs if d not in SKIPPED_DIRS and not d.startswith("tests"))
        if rel == ".":
            dirs[:] = [d for d in dirs if not d.startswith(".")]
        for name in sorted(files):
            if name.endswith((".h", ".cpp")):
                yield os.path.normpath(os.path.join(rel, name))


def allowed_entries():
    """(path, scope::name) -> reason, from the list beside this script."""
    entries = {}
    with open(ALLOWED_FILE, encoding="utf-8") as f:
        for raw in f:
            line = raw.strip()
            if not line or line.startswith("#"):
                continue
            where, _, reason = line.partition(" -- ")
            path, _, key = where.strip().partition(" ")
            entries[(path, key.strip())] = reason.strip()
    return entries


SELF_TEST = """
namespace {
struct Kept { GwCore* window = nullptr; GwRef<> ok; GwEdit* braced_{nullptr}; GwCore& owner_; };
GwCore* g_last;
int Use(GwCore* parameter) { GwCore* local = parameter; static GwEdit* remembered; return local != nullptr; }
void Keep() { static GwTree* const tree{nullptr}; static int count{0}; for (GwCore& w : All()) w.show(); }
std::vector<GwCore*> g_list;
std::function<void(GwCore* main)> g_action;
}
GwCore* Find(const char* name);
GwCore& Main();
class Holder : public Base {
    std::map<int, GwCore*> byNumber_;
    void Set(GwCore* w) { GwCore* p = w; }
    Holder& operator=(const Holder&) = delete;
    GwCore& operator=(GwCore&&) = delete;
};
"""
SELF_EXPECTED = ["Kept::window", "Kept::braced_", "Kept::owner_", "::g_last", "::remembered", "::tree",
                 "::g_list", "Holder::byNumber_"]


def self_test(scanner):
    got = [f"{scope}::{name}" for _, scope, name, _ in scanner.scan(strip_code(SELF_TEST))]
    return [] if got == SELF_EXPECTED else [f"scanner self-test: expected {SELF_EXPECTED}, found {got}"]


def findings_in(source_dir):
    scanner = Scanner(widget_classes(source_dir))
    findings = self_test(scanner)
    allowed = allowed_entries()
    used = set()
    for path in source_files(source_dir):
        with open(os.path.join(source_dir, path), encoding="utf-8", errors="replace") as f:
            text = strip_code(f.read())
        for line, scope, name, statement in scanner.scan(text):
            key = (path, f"{scope}::{name}")
            if key in allowed:
                used.add(key)
            else:
                findings.append(f"{path}:{line}: a widget kept by a plain pointer ({scope}::{name}): {statement}")
    for key in sorted(set(allowed) - used):
        findings.append(f"{ALLOWED_FILE}: {key[0]} {key[1]} matches no declaration any more")
    return findings


def main():
    if len(sys.argv) != 3:
        print(__doc__, file=sys.stderr)
        return 2
    source_dir, result_xml = sys.argv[1:3]
    findings = findings_in(source_dir)
    for finding in findings:
        print(finding)
    write_findings(result_xml, "KeptWidgetPointers", "NoWidgetIsKeptByAPlainPointer", findings)
    return 1 if findings else 0


if __name__ == "__main__":
    sys.exit(main())
