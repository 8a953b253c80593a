#!/usr/bin/env python3
"""Prints the benchmarks' figures as one table.

Reads the JSON files that the bench_* executables write (--benchmark_out) and
prints, for each benchmark, its figure, its reference and the ratio of the two
(for the buses the reference is the wire time of the same traffic; for the
files and translators the plain read or write of the same bytes). The other
counters of a benchmark follow as its details.
"""
import json
import sys

MAIN_COUNTERS = ("figure", "reference", "ratio")


def short_name(name):
    parts = [p for p in name.split("/") if not p.startswith(("iterations:", "manual_time", "real_time"))]
    return "/".join(parts)


def number(value):
    if value == 0:
        return "0"
    if abs(value) >= 1000:
        return f"{value:,.0f}"
    return f"{value:.4g}"


def rows(paths):
    for path in paths:
        try:
            with open(path) as f:
                report = json.load(f)
        except (OSError, ValueError):
            continue  # a run that matched nothing or failed writes no report
        for b in report.get("benchmarks", []):
            if b.get("run_type") == "aggregate":
                continue
            yield b


def main(paths):
    table = []
    details = []
    for b in rows(paths):
        name = short_name(b["name"])
        if b.get("error_occurred"):
            table.append((name, "ERROR: " + b.get("error_message", ""), "", ""))
            continue
        if "figure" not in b:
            continue
        unit, _, reference_name = b.get("label", "").partition("|")
        table.append((name, f"{number(b['figure'])} {unit}",
                      f"{number(b['reference'])} ({reference_name})", f"{b['ratio']:.3f}"))
        extra = [f"{k}={number(v)}" for k, v in b.items()
                 if isinstance(v, (int, float)) and k not in MAIN_COUNTERS
                 and k not in ("family_index", "per_family_instance_index", "repetitions", "repetition_index",
                               "threads", "iterations", "real_time", "cpu_time")]
        if extra:
            details.append((name, " ".join(extra)))

    header = ("benchmark", "figure", "reference", "x reference")
    widths = [max(len(str(r[i])) for r in table + [header]) for i in range(4)]
    line = "  ".join("{:<%d}" % w for w in widths)
    print(line.format(*header))
    print(line.format(*("-" * w for w in widths)))
    for r in table:
        print(line.format(*r))
    if details:
        print()
        print("details")
        for name, text in details:
            print(f"  {name}: {text}")


if __name__ == "__main__":
    main(sys.argv[1:])
