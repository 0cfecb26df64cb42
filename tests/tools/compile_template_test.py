#!/usr/bin/env python3
"""Tests of tools/compile_template.py: what it writes for a source, and the
mistakes in a source that it refuses (with the file and line)."""

import os
import re
import subprocess
import sys
import tempfile
import unittest

COMPILER = os.path.join(os.path.dirname(__file__), "..", "..", "tools", "compile_template.py")


def compile_source(text):
    """Returns (exit code, stderr, list of bytes and handler names)."""
    with tempfile.TemporaryDirectory() as folder:
        source = os.path.join(folder, "w.tvw")
        output = os.path.join(folder, "w.S")
        with open(source, "w", encoding="utf-8") as f:
            f.write(text)
        done = subprocess.run([sys.executable, COMPILER, "-o", output, source],
                              capture_output=True, text=True)
        parts = []
        if done.returncode == 0:
            with open(output, encoding="ascii") as f:
                for line in f:
                    if line.startswith("\t.byte "):
                        parts.extend(int(v) for v in line[7:].split(","))
                    elif line.startswith("\t.rva "):
                        parts.append(re.search(r"TVX_SYM\((\w+)\)", line).group(1))
        return done.returncode, done.stderr, parts


def u32(value):
    return list((value & 0xFFFFFFFF).to_bytes(4, "little"))


def text(value):
    data = list(value.encode("gbk"))
    return u32(len(data)) + data


class CompilerOutput(unittest.TestCase):
    def test_writes_the_stored_form(self):
        code, errors, parts = compile_source(
            'window 7 "窗"\n'
            '  caption "标题"\n'
            '  rect 1 2 30 40\n'
            '  on 1 OnSize\n'
            'control 按钮 3 "按钮1"  # a comment\n'
            '  hidden\n'
            '  on 0 none\n'
            '  properties {\n'
            '    u8 9\n'
            '    block {\n'
            '      text "编号"\n'
            '    }\n'
            '  }\n')
        self.assertEqual(code, 0, errors)
        expected = list(b"TVWT") + u32(1) + u32(1)
        expected += u32(7) + text("窗") + text("标题") + u32(1) + u32(2) + u32(30) + u32(40)
        expected += text("") + u32(0) + u32(0)  # no font
        expected += u32(1) + text("按钮") + u32(3) + u32(0) + text("按钮1") + text("")
        expected += u32(0) * 4 + u32(0)  # rect, flags: hidden
        record = [9] + u32(5) + list("编号".encode("gbk")) + [0]
        expected += u32(len(record)) + record
        expected += u32(2) + u32(0) + u32(1) + ["OnSize"] + u32(3) + u32(0) + u32(-1)
        self.assertEqual(parts, expected)

    def test_flags_of_a_control(self):
        flags_at = -12  # flags, property byte count, binding count follow
        for lines, flags in [("", 1), ("  hidden\n", 0), ("  checked\n", 5), ("  hidden\n  disabled\n  checked\n", 6)]:
            with self.subTest(lines=lines):
                code, errors, parts = compile_source('window 1 "a"\ncontrol 选择框 2 "b"\n' + lines)
                self.assertEqual(code, 0, errors)
                self.assertEqual(parts[flags_at:flags_at + 4], u32(flags))


class CompilerRefusals(unittest.TestCase):
    def assert_refused(self, source, words):
        code, errors, _ = compile_source(source)
        self.assertEqual(code, 1, f"have success for {source!r}, want a refusal")
        self.assertIn("w.tvw", errors)
        self.assertIn(words, errors)

    def test_refuses_mistakes(self):
        cases = [
            ('caption "x"\n', "before the first window"),
            ('window 1 "a"\n  colour 3\n', "unknown statement"),
            ('window 1 "a"\ncontrol 按钮 2 "b"\ncontrol 按钮 2 "c"\n', "used twice"),
            ('window 1 "a"\ncontrol 按钮 2 "b"\n  parent 3\n', "not an earlier control"),
            ('window 1 "a"\ncontrol 按钮 70000 "b"\n', "outside"),
            ('window 1 "a"\n  rect 0 0 -1 5\n', "cannot be negative"),
            ('window 1 "a"\n  caption "😀"\n', "no GBK form"),
            ('window 1 "a"\n  on 0 not-a-name\n', "not a C identifier"),
            ('window 1 "a"\n  on 0 A\n  on 0 B\n', "bound twice"),
            ('window 1 "a"\ncontrol 按钮 2 "b"\n  properties {\n    u8 300\n  }\n', "outside"),
            ('window 1 "a"\ncontrol 按钮 2 "b"\n  properties {\n    bytes 1g\n  }\n', "hexadecimal"),
            ('window 1 "a"\ncontrol 按钮 2 "b"\n  properties {\n    u8 1\n', "not closed"),
            ('window 1 "a"\nwindow 1 "b"\n', "same identifier"),
            ('window 1 "a\n', "No closing quotation"),
        ]
        for source, words in cases:
            with self.subTest(source=source):
                self.assert_refused(source, words)


if __name__ == "__main__":
    unittest.main()
