#!/usr/bin/env python3
"""The shipped program file, read with pefile: a GUI program for 32-bit
Windows with ASLR and DEP, no section both writable and executable, only
Windows' own DLLs, icon group 1 holding image 30001, and its manifest."""
import sys

import pefile

WINDOWS_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "msvcrt.dll", "advapi32.dll", "shell32.dll"}
RT_ICON, RT_GROUP_ICON, RT_MANIFEST = 3, 14, 24


def resources(pe, kind):
    for entry in pe.DIRECTORY_ENTRY_RESOURCE.entries:
        if entry.id == kind:
            for named in entry.directory.entries:
                for language in named.directory.entries:
                    data = language.data.struct
                    yield named.id, pe.get_data(data.OffsetToData, data.Size)


def checks(pe):
    characteristics = pe.OPTIONAL_HEADER.DllCharacteristics
    yield "32-bit x86", pe.FILE_HEADER.Machine == 0x14C
    yield "GUI subsystem", pe.OPTIONAL_HEADER.Subsystem == 2
    yield "ASLR", bool(characteristics & 0x40) and not pe.FILE_HEADER.Characteristics & 0x1  # relocations kept
    yield "DEP", bool(characteristics & 0x100)
    yield "no writable and executable section", not any(
        s.Characteristics & 0x80000000 and s.Characteristics & 0x20000000 for s in pe.sections)
    dlls = {i.dll.decode().lower() for i in pe.DIRECTORY_ENTRY_IMPORT}
    yield "only Windows' own DLLs (%s)" % ", ".join(sorted(dlls)), dlls <= WINDOWS_DLLS
    groups = dict(resources(pe, RT_GROUP_ICON))
    group = groups.get(1, b"")
    # GRPICONDIR: reserved, type 1, one entry of 14 bytes whose last two are the image's ID.
    yield "icon group 1 holds image 30001 alone", group[2:6] == b"\x01\x00\x01\x00" and group[18:20] == (30001).to_bytes(2, "little")
    yield "icon image 30001 is 32 x 32 in 16 colours", any(
        i == 30001 and d[4:8] == (32).to_bytes(4, "little") and d[14] == 4 for i, d in resources(pe, RT_ICON))
    manifest = b"".join(d for _, d in resources(pe, RT_MANIFEST)).decode()
    yield "manifest: per-monitor DPI aware (v2), DPI aware before", "PerMonitorV2" in manifest and ">true</dpiAware>" in manifest
    yield "manifest: Vista to Windows 11", all(guid in manifest for guid in (
        "e2011457-1546-43c5-a5fe-008deee3d3f0", "35138b9a-5d96-4fbd-8e2d-a2440225f93a",
        "4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38", "1f676c76-80e1-4239-95bb-83d0f6d0da78",
        "8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a"))


def main():
    pe = pefile.PE(sys.argv[1])
    bad = 0
    for name, holds in checks(pe):
        print(("[       OK ] " if holds else "[  FAILED  ] ") + name)
        bad += not holds
    total = len(list(checks(pe)))
    print("[  PASSED  ] %d tests." % (total - bad))
    if bad:
        print("[  FAILED  ] %d tests, listed above" % bad)
    return 1 if bad else 0


if __name__ == "__main__":
    sys.exit(main())
