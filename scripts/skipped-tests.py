#!/usr/bin/env python3
"""Lists the test cases skipped in the GoogleTest XML reports of build
folders (BUILD/test-reports/*.xml): under Wine a whole test program is one
CTest test, so a skipped case would otherwise count as passed.

    skipped-tests.py BUILD...

Prints one line per skipped case, "PRESET: Suite.Case: reason", then a last
line with the count."""
import glob
import os
import sys
import xml.etree.ElementTree as ElementTree

skipped = []
for build in sys.argv[1:]:
    preset = os.path.basename(os.path.normpath(build))
    for report in sorted(glob.glob(os.path.join(build, "test-reports", "*.xml"))):
        for case in ElementTree.parse(report).iter("testcase"):
            mark = case.find("skipped")
            if mark is None and case.get("result") != "skipped":
                continue
            reason = (mark.get("message") if mark is not None else "") or ""
            # The message starts with the source position of the skip.
            reason = reason.strip().splitlines()[-1] if reason.strip() else "no reason given"
            skipped.append(f"{preset}: {case.get('classname')}.{case.get('name')}: {reason}")
for line in skipped:
    print("skipped " + line)
print(f"Skipped tests: {len(skipped)}")
