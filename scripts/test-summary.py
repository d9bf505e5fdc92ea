#!/usr/bin/env python3
"""test-summary.py JUNIT: how many tests of each tier ran, and how they ended,
from the JUnit report that ctest writes (--output-junit)."""
import sys
import xml.etree.ElementTree as ElementTree

TIERS = ["host", "host-asan", "fuzz", "win32", "win32 e2e", "win64", "win64 e2e"]


def tier(name):
    first, _, rest = name.partition(".")
    return f"{first} e2e" if rest.startswith("e2e.") else first


counts = {}
for case in ElementTree.parse(sys.argv[1]).getroot().iter("testcase"):
    failed = case.find("failure") is not None or case.get("status") == "fail"
    ran = case.get("status") != "notrun"
    entry = counts.setdefault(tier(case.get("name", "")), {"ran": 0, "failed": 0})
    entry["ran"] += ran
    entry["failed"] += failed

print("Tests by tier, each run once:")
for name in TIERS + sorted(set(counts) - set(TIERS)):
    if name in counts:
        entry = counts[name]
        print(f"  {name:<10} {entry['ran']:4d} ran, {entry['ran'] - entry['failed']:4d} passed, {entry['failed']:3d} failed")
