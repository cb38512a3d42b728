"""Checks the 32-bit Windows module as a host would find it: a DLL for
i386 that exports only PluginMain, imports only from system libraries and
carries the property list, icons, cursors, bitmap, dialogs and version
record. Usage: check_module.py Mirtil.aip"""

import struct
import sys
import unittest

import pefile

MODULE = None

LANGUAGE = 1033
RT_CURSOR, RT_BITMAP, RT_ICON, RT_DIALOG = 1, 2, 3, 5
RT_GROUP_CURSOR, RT_GROUP_ICON, RT_VERSION = 12, 14, 16

# Window and control styles.
WS_CHILD, WS_VISIBLE, WS_POPUP = 0x40000000, 0x10000000, 0x80000000
WS_CAPTION, WS_SYSMENU, WS_BORDER = 0x00C00000, 0x00080000, 0x00800000
DS_MODALFRAME, DS_SETFONT = 0x80, 0x40
ES_AUTOHSCROLL = 0x80
BUTTON, EDIT, STATIC = 0x80, 0x81, 0x82
# Kinds of item: window class and the style bits that choose the kind.
PUSHBUTTON = (BUTTON, 0x0F, 0x0)
DEFPUSHBUTTON = (BUTTON, 0x0F, 0x1)
AUTORADIOBUTTON = (BUTTON, 0x0F, 0x9)
GROUPBOX = (BUTTON, 0x0F, 0x7)
LTEXT = (STATIC, 0x1F, 0x0)
BITMAP = (STATIC, 0x1F, 0xE)
EDITTEXT = (EDIT, 0x3, 0x0)
NO_ID = 0xFFFF

PROPERTY_LIST = (struct.pack("<HII", 1, 0, 3)
                 + b"EBDAdnik" + struct.pack("<II", 0, 4) + b"AEPS"
                 + b"EBDAsrvi" + struct.pack("<III", 0, 4, 2)
                 + b"EBDA68xw" + struct.pack("<II", 0, 12) + b"PluginMain\0\0"
                 + b"\0")


def resources(pe, type_id):
    """{id: [(language, bytes)]} of one resource type."""
    found = {}
    for kind in pe.DIRECTORY_ENTRY_RESOURCE.entries:
        if (kind.name and str(kind.name) or kind.id) != type_id:
            continue
        for entry in kind.directory.entries:
            for language in entry.directory.entries:
                data = pe.get_data(language.data.struct.OffsetToData, language.data.struct.Size)
                found.setdefault(entry.id, []).append((language.id, data))
    return found


class Reader:
    def __init__(self, data):
        self.data, self.at = data, 0

    def take(self, fmt):
        values = struct.unpack_from("<" + fmt, self.data, self.at)
        self.at += struct.calcsize("<" + fmt)
        return values if len(values) > 1 else values[0]

    def text(self):
        end = self.at
        while self.data[end:end + 2] != b"\0\0":
            end += 2
        value = self.data[self.at:end].decode("utf-16-le")
        self.at = end + 2
        return value

    def name_or_number(self):
        if struct.unpack_from("<H", self.data, self.at)[0] == 0xFFFF:
            return self.take("HH")[1]
        return self.text()

    def align(self):
        self.at = (self.at + 3) & ~3


def read_dialog(data):
    r = Reader(data)
    style, _, count, x, y, cx, cy = r.take("IIHhhhh")
    dialog = {"style": style, "size": (cx, cy), "menu": r.name_or_number(),
              "class": r.name_or_number(), "title": r.text()}
    if style & DS_SETFONT:
        dialog["font"] = (r.take("H"), r.text())
    dialog["items"] = []
    for _ in range(count):
        r.align()
        item_style, _, x, y, cx, cy, item_id = r.take("IIhhhhH")
        item_class, text = r.name_or_number(), r.name_or_number()
        creation_data = r.take("H")
        r.at += creation_data
        dialog["items"].append({"style": item_style, "box": (x, y, cx, cy), "id": item_id,
                                "class": item_class, "text": text})
    return dialog


class ModuleFile(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.pe = pefile.PE(MODULE)

    def only(self, type_id, resource_id):
        entries = resources(self.pe, type_id).get(resource_id)
        self.assertIsNotNone(entries, f"resource {type_id}/{resource_id} missing")
        self.assertEqual([language for language, _ in entries], [LANGUAGE])
        return entries[0][1]

    def test_a_32_bit_intel_dll(self):
        self.assertEqual(self.pe.FILE_HEADER.Machine, pefile.MACHINE_TYPE["IMAGE_FILE_MACHINE_I386"])
        self.assertTrue(self.pe.FILE_HEADER.Characteristics & pefile.IMAGE_CHARACTERISTICS["IMAGE_FILE_DLL"])
        self.assertEqual(self.pe.OPTIONAL_HEADER.Magic, 0x10B)  # PE32

    def test_exports_only_the_entry_point(self):
        self.assertEqual([s.name for s in self.pe.DIRECTORY_ENTRY_EXPORT.symbols], [b"PluginMain"])

    def test_imports_only_system_libraries(self):
        allowed = {b"kernel32.dll", b"user32.dll", b"msvcrt.dll"}
        imported = {entry.dll.lower() for entry in self.pe.DIRECTORY_ENTRY_IMPORT}
        self.assertLessEqual(imported, allowed)
        user = {f.name for e in self.pe.DIRECTORY_ENTRY_IMPORT if e.dll.lower() == b"user32.dll" for f in e.imports}
        self.assertLessEqual({b"LoadCursorA", b"SetCursor", b"MessageBoxA"}, user)
        kernel = {f.name for e in self.pe.DIRECTORY_ENTRY_IMPORT if e.dll.lower() == b"kernel32.dll" for f in e.imports}
        self.assertIn(b"OutputDebugStringA", kernel)

    def test_property_list_byte_for_byte(self):
        entries = resources(self.pe, "PIPL")
        self.assertEqual(list(entries), [16000])
        self.assertEqual(len(PROPERTY_LIST), 79)
        self.assertEqual(self.only("PIPL", 16000), PROPERTY_LIST)

    def test_icons_cursors_and_bitmap(self):
        images = resources(self.pe, RT_ICON)
        for icon in (104, 103):
            group = self.only(RT_GROUP_ICON, icon)
            _, kind, count = struct.unpack_from("<HHH", group)
            self.assertEqual((kind, count), (1, 1))
            width, height, _, _, _, bits, _, image = struct.unpack_from("<BBBBHHIH", group, 6)
            self.assertEqual((width, height, bits), (22, 18, 24))
            header = images[image][0][1]
            self.assertEqual(struct.unpack_from("<IiiHH", header), (40, 22, 36, 1, 24))
        shapes = resources(self.pe, RT_CURSOR)
        for cursor in (116, 118, 119):
            group = self.only(RT_GROUP_CURSOR, cursor)
            _, kind, count = struct.unpack_from("<HHH", group)
            self.assertEqual((kind, count), (2, 1))
            width, height, _, bits, _, image = struct.unpack_from("<HHHHIH", group, 6)
            self.assertEqual((width, height, bits), (32, 64, 1))
            shape = shapes[image][0][1]
            self.assertEqual(struct.unpack_from("<HH", shape), (7, 8))  # hot spot
            self.assertEqual(struct.unpack_from("<IiiHH", shape, 4), (40, 32, 64, 1, 1))
        bitmap = self.only(RT_BITMAP, 117)
        self.assertEqual(struct.unpack_from("<IiiHH", bitmap), (40, 127, 176, 1, 24))
        self.assertEqual(len(bitmap), 40 + 128 * 3 * 176)  # rows padded to four bytes

    def assertItems(self, dialog, expected):
        self.assertEqual(len(dialog["items"]), len(expected))
        for item, (kind, text, item_id, box, extra) in zip(dialog["items"], expected):
            where = f"item {text or item_id}"
            self.assertEqual(item["class"], kind[0], where)
            self.assertEqual(item["style"] & kind[1], kind[2], where)
            self.assertEqual(item["style"] & (WS_CHILD | WS_VISIBLE | extra), WS_CHILD | WS_VISIBLE | extra, where)
            self.assertEqual((item["text"], item["id"], item["box"]), (text, item_id, box), where)

    def test_preferences_dialog(self):
        dialog = read_dialog(self.only(RT_DIALOG, 108))
        self.assertEqual(dialog["size"], (186, 93))
        self.assertEqual(dialog["title"], "Mirrortile preferences")
        self.assertEqual(dialog["font"], (8, "MS Sans Serif"))
        self.assertEqual(dialog["style"] & (DS_MODALFRAME | WS_CAPTION | WS_SYSMENU),
                         DS_MODALFRAME | WS_CAPTION | WS_SYSMENU)
        self.assertItems(dialog, [
            (DEFPUSHBUTTON, "OK", 1, (129, 7, 50, 14), 0),
            (PUSHBUTTON, "Cancel", 2, (129, 24, 50, 14), 0),
            (LTEXT, "Number of steps:", NO_ID, (15, 16, 58, 16), 0),
            (LTEXT, "Delay (1/10 sec):", NO_ID, (15, 39, 58, 16), 0),
            (EDITTEXT, "", 1000, (81, 16, 19, 15), WS_BORDER | ES_AUTOHSCROLL),
            (EDITTEXT, "", 1001, (81, 39, 19, 15), WS_BORDER | ES_AUTOHSCROLL),
            (LTEXT, "Rotation:", NO_ID, (15, 62, 58, 16), 0),
            (AUTORADIOBUTTON, "InPlace", 1006, (74, 62, 44, 16), 0),
            (AUTORADIOBUTTON, "Sweep", 1007, (131, 62, 44, 16), 0),
        ])

    def test_about_box(self):
        dialog = read_dialog(self.only(RT_DIALOG, 16002))
        self.assertEqual(dialog["size"], (189, 120))
        self.assertEqual(dialog["title"], "")
        self.assertEqual(dialog["font"], (8, "MS Sans Serif"))
        self.assertEqual(dialog["style"] & (DS_MODALFRAME | WS_CAPTION), DS_MODALFRAME)
        self.assertItems(dialog, [
            (LTEXT, "", 3, (5, 14, 108, 83), 0),
            (BITMAP, 117, NO_ID, (117, 8, 67, 105), 0),
            (GROUPBOX, "", NO_ID, (115, 7, 71, 107), 0),
        ])

    def test_version_record(self):
        self.only(RT_VERSION, 1)
        fixed = self.pe.VS_FIXEDFILEINFO[0]
        self.assertEqual((fixed.FileVersionMS, fixed.FileVersionLS), ((3 << 16) | 0, (0 << 16) | 316))
        strings = {}
        for info in self.pe.FileInfo[0]:
            for table in getattr(info, "StringTable", []):
                strings.update(table.entries)
        self.assertEqual(strings[b"FileDescription"], b"Mirrortile")
        self.assertEqual(strings[b"ProductName"], b"Mirrortile")
        self.assertEqual(strings[b"InternalName"], b"Mirtil")
        self.assertEqual(strings[b"OriginalFilename"], b"Mirtil.aip")
        self.assertEqual(strings[b"FileVersion"], b"3.0.0.316")


if __name__ == "__main__":
    MODULE = sys.argv.pop(1)
    unittest.main(verbosity=2)
