#!/usr/bin/python3
"""The shipped program file, read with pefile: a 32-bit x86 GUI program for Windows 7 (subsystem version 6.01) with
ASLR and DEP, no section both writable and executable, only Windows' own DLLs and from them only the functions
listed in windows7_imports.txt, icon group 1 holding one 32 x 32 image of 16 colours, its manifest. Each check
prints what it read."""
import os
import sys

import pefile

from check_report import report

# Windows 7 and the systems before it, as the list's last column names them.
UP_TO_WINDOWS_7 = {"2000", "XP", "Vista", "7"}
WINDOWS_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "msvcrt.dll", "advapi32.dll", "shell32.dll", "imm32.dll"}
SUPPORTED_OS = ("e2011457-1546-43c5-a5fe-008deee3d3f0", "35138b9a-5d96-4fbd-8e2d-a2440225f93a",  # Vista, 7
                "4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38", "1f676c76-80e1-4239-95bb-83d0f6d0da78",  # 8, 8.1
                "8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a")                                          # 10 and 11


def resources(pe, kind):
    """{id: bytes} of one type of resource (RT_ICON 3, RT_GROUP_ICON 14, RT_MANIFEST 24)."""
    return {named.id: pe.get_data(named.directory.entries[0].data.struct.OffsetToData, named.directory.entries[0].data.struct.Size)
            for entry in pe.DIRECTORY_ENTRY_RESOURCE.entries if entry.id == kind for named in entry.directory.entries}


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
    manifest = b"".join(resources(pe, 24).values()).decode()
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
        ("manifest: per-monitor DPI aware from Windows 8.1 on, system aware before",
         ">PerMonitorV2, PerMonitor</dpiAwareness>" in manifest and ">true/pm</dpiAware>" in manifest),
        ("manifest: Windows Vista to 11", all(guid in manifest for guid in SUPPORTED_OS)),
    ]


report(checks(pefile.PE(sys.argv[1])))
