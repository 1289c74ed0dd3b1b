#!/usr/bin/python3
"""The shipped program file, read with pefile: a 32-bit x86 GUI program for Windows 7 (subsystem version 6.01) with
ASLR and DEP, no section both writable and executable, only Windows' own DLLs and from them only the functions
listed in windows7_imports.txt, icon group 1 holding one 32 x 32 image of 16 colours, a manifest, and version
1.0.0.0 of Tavirel.exe, an application, in U.S. English. Each check prints what it read."""
import os
import sys

import pefile

from check_report import report

# Windows 7 and the systems before it, as the list's last column names them.
UP_TO_WINDOWS_7 = {"2000", "XP", "Vista", "7"}
WINDOWS_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "msvcrt.dll", "advapi32.dll", "shell32.dll", "imm32.dll"}
# The version's strings, in the table of U.S. English (0x0409) in UTF-16 (code page 1200, 0x04B0).
VERSION_STRINGS = {"FileVersion": "1.0.0.0", "ProductVersion": "1.0.0.0", "ProductName": "Tavirel",
                   "FileDescription": "Tavirel", "InternalName": "Tavirel", "Comments": "Tavirel",
                   "OriginalFilename": "Tavirel.exe"}


def resources(pe, kind):
    """{id: bytes} of one type of resource (RT_ICON 3, RT_GROUP_ICON 14, RT_MANIFEST 24)."""
    return {named.id: pe.get_data(named.directory.entries[0].data.struct.OffsetToData, named.directory.entries[0].data.struct.Size)
            for entry in pe.DIRECTORY_ENTRY_RESOURCE.entries if entry.id == kind for named in entry.directory.entries}


def version(pe):
    """The version resource: file and product version and file type of its fixed part, its translations as
    (language, code page), and its string tables by key."""
    if not hasattr(pe, "VS_FIXEDFILEINFO"):
        return "none", "none", 0, [], {}
    fixed, infos = pe.VS_FIXEDFILEINFO[0], pe.FileInfo[0]
    dotted = lambda ms, ls: "%d.%d.%d.%d" % (ms >> 16, ms & 0xFFFF, ls >> 16, ls & 0xFFFF)
    translations = [tuple(int(n, 16) for n in var.entry[b"Translation"].split())
                    for info in infos if info.Key == b"VarFileInfo" for var in info.Var]
    tables = {table.LangID.decode(): {k.decode(): v.decode() for k, v in table.entries.items()}
              for info in infos if info.Key == b"StringFileInfo" for table in info.StringTable}
    return (dotted(fixed.FileVersionMS, fixed.FileVersionLS), dotted(fixed.ProductVersionMS, fixed.ProductVersionLS),
            fixed.FileType, translations, tables)


def listed_imports():
    """{(dll, function): minimum client} from windows7_imports.txt beside this file; DLL names in lower case."""
    with open(os.path.join(os.path.dirname(os.path.abspath(__file__)), "windows7_imports.txt"), encoding="utf-8") as f:
        rows = [line.split() for line in f if line.strip() and not line.startswith("#")]
    return {(row[0].lower(), row[1]): row[2] for row in rows}


def checks(pe):
    header, optional = pe.FILE_HEADER, pe.OPTIONAL_HEADER
    dlls = sorted(i.dll.decode().lower() for i in pe.DIRECTORY_ENTRY_IMPORT)
    imported = [(i.dll.decode().lower(), f.name.decode() if f.name else "#%d" % f.ordinal)
                for i in pe.DIRECTORY_ENTRY_IMPORT for f in i.imports]
    listed = listed_imports()
    unlisted = sorted("%s!%s" % entry for entry in imported if entry not in listed)
    newer = sorted("%s!%s (%s)" % (d, f, m) for (d, f), m in listed.items() if m not in UP_TO_WINDOWS_7)
    wx = [s.Name.rstrip(b"\0").decode() for s in pe.sections if s.Characteristics & 0xA0000000 == 0xA0000000]
    group = resources(pe, 14).get(1, bytes(20))  # GRPICONDIR: its count, then one 14-byte entry naming the image
    image = resources(pe, 3).get(int.from_bytes(group[18:20], "little"), bytes(16))  # BITMAPINFOHEADER
    size = (int.from_bytes(image[4:8], "little"), int.from_bytes(image[8:12], "little") // 2, image[14])
    manifests = sorted(resources(pe, 24))
    file_version, product_version, file_type, translations, tables = version(pe)
    strings = tables.get("040904B0", {})
    return [
        ("machine 0x%X, subsystem %d: 32-bit x86, GUI" % (header.Machine, optional.Subsystem),
         header.Machine == 0x14C and optional.Subsystem == 2),
        ("subsystem version %d.%02d: Windows 7" % (optional.MajorSubsystemVersion, optional.MinorSubsystemVersion),
         (optional.MajorSubsystemVersion, optional.MinorSubsystemVersion) == (6, 1)),
        ("DLL characteristics 0x%X, relocations stripped: %s: ASLR, DEP" % (optional.DllCharacteristics, bool(header.Characteristics & 1)),
         optional.DllCharacteristics & 0x140 == 0x140 and not header.Characteristics & 1),
        ("sections both writable and executable: " + (", ".join(wx) or "none"), not wx),
        ("DLLs: " + ", ".join(dlls) + ": Windows' own only", set(dlls) <= WINDOWS_DLLS),
        ("%d functions imported, not on the Windows 7 list: %s" % (len(imported), ", ".join(unlisted) or "none"),
         imported and not unlisted),
        ("the list's entries newer than Windows 7: " + (", ".join(newer) or "none"), not newer),
        ("icon group 1: %d image(s), %d x %d, %d bits a pixel: one 32 x 32 in 16 colours" % ((group[4],) + size),
         group[4:6] == b"\x01\x00" and size == (32, 32, 4)),
        ("manifest resources: %s: the one a program's is, 1" % manifests, manifests == [1]),
        ("version %s, product %s, file type %d, translations %s, tables %s: 1.0.0.0 of an application (1) in "
         "U.S. English, Unicode (0x409, 1200)" % (file_version, product_version, file_type,
                                                  ["0x%X/%d" % t for t in translations], tables),
         (file_version, product_version, file_type, translations) == ("1.0.0.0", "1.0.0.0", 1, [(0x409, 1200)])
         and {k: strings.get(k) for k in VERSION_STRINGS} == VERSION_STRINGS),
    ]


report(checks(pefile.PE(sys.argv[1])))
