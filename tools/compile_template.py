#!/usr/bin/env python3
"""Compiles readable window template sources (.tvw) into the template data
that the runtime reads at start-up, as a GNU assembler file (.S).

The stored form is documented in runtime/windows/templates/window_template.h. Bound
handlers are written as `.rva Symbol`, an offset relative to the image base,
which the program hands to the runtime as its code base.

Source syntax, one statement a line, words split like a shell does ("#"
starts a comment, quotes keep blanks and non-ASCII text together; texts are
UTF-8 here and become GBK):

    window 0x52010001 "窗口1"      a window: identifier, name
      caption "Title"
      rect 50 50 1000 600          left top width height
      font "微软雅黑" 9 [bold] [italic]
      on 1 OnSizeChanged           event 1 of the window -> handler (or: none)

    control 按钮 1 "按钮1"          a control: type name, identifier, name
      caption "开始"
      rect 8 8 80 24
      parent 10                    an earlier control (menu items: their menu)
      hidden | disabled | checked  (checked: a check box or menu item starts so)
      on 0 OnStartClicked
      properties {                 the stored property record, field by field
        u8 1 | u16 2 | i32 -1 | u32 0xFF000000
        text "编号"                 GBK bytes and a NUL
        string "abc"               32-bit length, then the GBK bytes
        bytes 01 02 ff             raw bytes in hexadecimal
        block { ... }              32-bit length of the enclosed fields, then them
      }

Usage: compile_template.py -o out.S [--symbol Name] source.tvw...
"""

import argparse
import re
import shlex
import struct
import sys

MAGIC = b"TVWT"
FORMAT_VERSION = 1
MAX_CONTROL_ID = 0xFFFF
VISIBLE, DISABLED, CHECKED = 1, 2, 4
BOLD, ITALIC = 1, 2
IDENTIFIER = re.compile(r"[A-Za-z_][A-Za-z0-9_]*$")


class TemplateError(Exception):
    pass


def gbk(text, where):
    try:
        return text.encode("gbk")
    except UnicodeEncodeError as error:
        raise TemplateError(f"{where}: text {text!r} has no GBK form ({error.reason})")


def number(word, where, low=-(1 << 31), high=(1 << 32) - 1):
    try:
        value = int(word, 0)
    except ValueError:
        raise TemplateError(f"{where}: {word!r} is not a number")
    if not low <= value <= high:
        raise TemplateError(f"{where}: {value} is outside {low}..{high}")
    return value


class Output:
    """Bytes with the handler references that are resolved at link time."""

    def __init__(self):
        self.parts = []  # bytes, or a handler name (4 bytes, .rva) / None (-1)

    def raw(self, data):
        self.parts.append(bytes(data))

    def u32(self, value):
        self.raw(struct.pack("<I", value & 0xFFFFFFFF))

    def i32(self, value):
        self.u32(value)

    def text(self, data):
        self.u32(len(data))
        self.raw(data)

    def handler(self, name):
        self.parts.append(name if name else b"\xff\xff\xff\xff")


class Control:
    def __init__(self, type_name, ident, name):
        self.type_name, self.id, self.name = type_name, ident, name
        self.caption = b""
        self.rect = (0, 0, 0, 0)
        self.parent = 0
        self.flags = VISIBLE
        self.properties = b""


class Window:
    def __init__(self, ident, name):
        self.id, self.name = ident, name
        self.caption = b""
        self.rect = (0, 0, 0, 0)
        self.font = (b"", 0, 0)
        self.controls = []
        self.bindings = []  # (control id, event, handler name or None)


def read_fields(lines, where):
    """Reads property fields up to the closing brace; returns the bytes."""
    data = bytearray()
    while True:
        try:
            line_number, words = next(lines)
        except StopIteration:
            raise TemplateError(f"{where}: properties are not closed with '}}'")
        at = f"{where.split(':')[0]}:{line_number}"
        kind, args = words[0], words[1:]
        if kind == "}":
            return bytes(data)
        if kind == "block":
            if args != ["{"]:
                raise TemplateError(f"{at}: write 'block {{'")
            inner = read_fields(lines, at)
            data += struct.pack("<I", len(inner)) + inner
        elif kind in ("u8", "u16", "i32", "u32"):
            if len(args) != 1:
                raise TemplateError(f"{at}: {kind} takes one number")
            ranges = {"u8": (0, 0xFF, "<B"), "u16": (0, 0xFFFF, "<H"),
                      "i32": (-(1 << 31), (1 << 31) - 1, "<i"), "u32": (0, (1 << 32) - 1, "<I")}
            low, high, packing = ranges[kind]
            data += struct.pack(packing, number(args[0], at, low, high))
        elif kind == "text":
            if len(args) != 1:
                raise TemplateError(f"{at}: text takes one quoted text")
            encoded = gbk(args[0], at)
            if b"\0" in encoded:
                raise TemplateError(f"{at}: a text cannot hold a NUL")
            data += encoded + b"\0"
        elif kind == "string":
            if len(args) != 1:
                raise TemplateError(f"{at}: string takes one quoted text")
            encoded = gbk(args[0], at)
            data += struct.pack("<I", len(encoded)) + encoded
        elif kind == "bytes":
            for word in args:
                if not re.fullmatch(r"[0-9A-Fa-f]{2}", word):
                    raise TemplateError(f"{at}: bytes are hexadecimal pairs 00..ff, have {word!r}")
                data.append(int(word, 16))
        else:
            raise TemplateError(f"{at}: unknown property field {kind!r}")


def statements(path):
    with open(path, encoding="utf-8") as source:
        for line_number, line in enumerate(source, 1):
            try:
                words = shlex.split(line, comments=True)
            except ValueError as error:
                raise TemplateError(f"{path}:{line_number}: {error}")
            if words:
                yield line_number, words


def parse(path, windows):
    lines = statements(path)
    window = None
    target = None  # the window or control that the following lines describe
    for line_number, words in lines:
        at = f"{path}:{line_number}"
        keyword, args = words[0], words[1:]

        def need(count):
            if len(args) != count:
                raise TemplateError(f"{at}: {keyword} takes {count} value(s), have {len(args)}")

        if keyword == "window":
            need(2)
            window = Window(number(args[0], at, 1), gbk(args[1], at))
            if any(w.id == window.id for w in windows):
                raise TemplateError(f"{at}: two windows have the same identifier {window.id:#x}")
            windows.append(window)
            target = window
            continue
        if window is None:
            raise TemplateError(f"{at}: {keyword} before the first window")
        if keyword == "control":
            need(3)
            control = Control(gbk(args[0], at), number(args[1], at, 1, MAX_CONTROL_ID), gbk(args[2], at))
            if any(c.id == control.id for c in window.controls):
                raise TemplateError(f"{at}: control identifier {control.id} is used twice")
            window.controls.append(control)
            target = control
        elif keyword == "caption":
            need(1)
            target.caption = gbk(args[0], at)
        elif keyword == "rect":
            need(4)
            rect = tuple(number(word, at, -(1 << 31), (1 << 31) - 1) for word in args)
            if rect[2] < 0 or rect[3] < 0:
                raise TemplateError(f"{at}: width and height cannot be negative")
            target.rect = rect
        elif keyword == "font" and target is window:
            if not 2 <= len(args) <= 4:
                raise TemplateError(f"{at}: font takes a face, a size and 'bold'/'italic'")
            flags = 0
            for word in args[2:]:
                if word not in ("bold", "italic"):
                    raise TemplateError(f"{at}: unknown font style {word!r}")
                flags |= BOLD if word == "bold" else ITALIC
            window.font = (gbk(args[0], at), number(args[1], at, 1, 1000), flags)
        elif keyword == "parent" and target is not window:
            need(1)
            parent = number(args[0], at, 1, MAX_CONTROL_ID)
            if not any(c.id == parent for c in window.controls[:-1]):
                raise TemplateError(f"{at}: parent {parent} is not an earlier control")
            target.parent = parent
        elif keyword in ("hidden", "disabled", "checked") and target is not window:
            need(0)
            if keyword == "hidden":
                target.flags &= ~VISIBLE
            else:
                target.flags |= DISABLED if keyword == "disabled" else CHECKED
        elif keyword == "on":
            need(2)
            event = number(args[0], at, -(1 << 31), (1 << 31) - 1)
            handler = None if args[1] == "none" else args[1]
            if handler is not None and not IDENTIFIER.match(handler):
                raise TemplateError(f"{at}: handler {handler!r} is not a C identifier")
            control_id = 0 if target is window else target.id
            if any(b[0] == control_id and b[1] == event for b in window.bindings):
                raise TemplateError(f"{at}: event {event} is bound twice")
            window.bindings.append((control_id, event, handler))
        elif keyword == "properties" and target is not window:
            if args != ["{"]:
                raise TemplateError(f"{at}: write 'properties {{'")
            target.properties = read_fields(lines, at)
        else:
            raise TemplateError(f"{at}: unknown statement {keyword!r} here")


def encode(windows):
    out = Output()
    out.raw(MAGIC)
    out.u32(FORMAT_VERSION)
    out.u32(len(windows))
    for window in windows:
        out.u32(window.id)
        out.text(window.name)
        out.text(window.caption)
        for value in window.rect:
            out.i32(value)
        face, points, flags = window.font
        out.text(face)
        out.i32(points)
        out.u32(flags)
        out.u32(len(window.controls))
        for control in window.controls:
            out.text(control.type_name)
            out.u32(control.id)
            out.u32(control.parent)
            out.text(control.name)
            out.text(control.caption)
            for value in control.rect:
                out.i32(value)
            out.u32(control.flags)
            out.text(control.properties)
        out.u32(len(window.bindings))
        for control_id, event, handler in window.bindings:
            out.u32(control_id)
            out.i32(event)
            out.handler(handler)
    return out


def assembly(out, symbol, sources):
    lines = [
        "/* Window template data, generated by tools/compile_template.py from",
        *(f"   {path}" for path in sources),
        "   Do not edit. */",
        "#define TVX_CAT2(a, b) a##b",
        "#define TVX_CAT(a, b) TVX_CAT2(a, b)",
        "#define TVX_SYM(name) TVX_CAT(__USER_LABEL_PREFIX__, name)",
        '\t.section .rdata,"dr"',
        f"\t.globl TVX_SYM({symbol})",
        f"\t.globl TVX_SYM({symbol}Size)",
        "\t.balign 4",
        f"TVX_SYM({symbol}):",
    ]
    for part in out.parts:
        if isinstance(part, str):
            lines.append(f"\t.rva TVX_SYM({part})")
            continue
        for start in range(0, len(part), 16):
            lines.append("\t.byte " + ",".join(str(b) for b in part[start:start + 16]))
    lines += [
        f"TVX_SYM({symbol}End):",
        "\t.balign 4",
        f"TVX_SYM({symbol}Size):",
        f"\t.long TVX_SYM({symbol}End) - TVX_SYM({symbol})",
        "",
    ]
    return "\n".join(lines)


def main(argv):
    parser = argparse.ArgumentParser(description="Compiles window template sources.")
    parser.add_argument("-o", "--output", required=True, help="the .S file to write")
    parser.add_argument("--symbol", default="TulvexTemplateData",
                        help="data symbol; <symbol>Size holds the byte count")
    parser.add_argument("sources", nargs="+")
    options = parser.parse_args(argv)
    if not IDENTIFIER.match(options.symbol):
        parser.error(f"--symbol {options.symbol!r} is not a C identifier")

    windows = []
    try:
        for path in options.sources:
            parse(path, windows)
    except (TemplateError, OSError, UnicodeDecodeError) as error:
        print(f"compile_template: {error}", file=sys.stderr)
        return 1
    with open(options.output, "w", encoding="ascii") as target:
        target.write(assembly(encode(windows), options.symbol, options.sources))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
