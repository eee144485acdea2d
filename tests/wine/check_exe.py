#!/usr/bin/env python3
"""kestrin.exe as a file: one GUI executable under 1 MB that imports only system DLLs,
whose version record reads back (read under Wine with GetFileVersionInfoW)."""

import os
import re
import shutil
import subprocess

from wine_session import check, run_check, session

# DLLs every Windows system has; anything else (a C++ runtime, winpthread) would have to ship.
SYSTEM_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "shell32.dll", "comctl32.dll",
               "ole32.dll", "advapi32.dll", "msvcrt.dll", "version.dll", "winmm.dll"}


def imports_and_subsystem(exe):
    objdump = shutil.which("x86_64-w64-mingw32-objdump")
    check(objdump is not None, "x86_64-w64-mingw32-objdump is missing (binutils-mingw-w64)")
    headers = subprocess.run([objdump, "-p", exe], check=True, capture_output=True,
                             text=True).stdout
    dlls = [name.lower() for name in re.findall(r"DLL Name: (\S+)", headers)]
    subsystem = re.search(r"^Subsystem\s+\S+\s+\((.*)\)", headers, re.M)
    return dlls, subsystem.group(1) if subsystem else None


def main(args):
    size = os.path.getsize(args.exe)
    check(size < 1024 * 1024, f"kestrin.exe is {size} bytes, not under 1 MB")

    dlls, subsystem = imports_and_subsystem(args.exe)
    check(subsystem == "Windows GUI", f"subsystem is {subsystem!r}, not a GUI program")
    check("user32.dll" in dlls and "kernel32.dll" in dlls, f"unexpected import list {dlls}")
    foreign = sorted(set(dlls) - SYSTEM_DLLS)
    check(not foreign, f"kestrin.exe imports non-system DLLs: {foreign}")

    with session(args) as wine:
        version = wine.inspect("version", "Z:" + os.path.abspath(args.exe).replace("/", "\\"))
    check(version is not None, "no version record could be read")
    expected = {
        "fileVersion": "1.0.0.1", "productVersion": "1.0.0.1",
        "FileVersion": "1.0.0.1", "ProductVersion": "1.0.0.1",
        "ProductName": "Kestrin", "FileDescription": "Kestrin，解放你的双手",
        "language": 0x0804,
    }
    for key, value in expected.items():
        check(version.get(key) == value, f"version record {key} is {version.get(key)!r}, "
              f"expected {value!r}")
    print(f"kestrin.exe: {size} bytes, imports {', '.join(dlls)}")


if __name__ == "__main__":
    run_check(main)
