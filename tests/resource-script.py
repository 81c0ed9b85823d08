#!/usr/bin/env python3
"""Compiles the resource script with LLVM's llvm-rc, which parses it as rc.exe does, and
reads the .res back: one manifest, the version record and the icon, all German, nothing else.
usage: resource-script.py LLVM_RC RC_FILE INCLUDE_DIR..."""
import re, struct, subprocess, sys, tempfile
from pathlib import Path

RT_ICON, RT_GROUP_ICON, RT_VERSION, RT_MANIFEST = 3, 14, 16, 24
GERMAN = 0x0407
DESCRIPTION = "Tool zum Ändern der Modulpfade der C-Control II Entwicklungsumgebung."

llvm_rc, rc_file, *includes = sys.argv[1:]
script = Path(rc_file)
# rc.exe reads the script in the code page its pragma names; llvm-rc takes that only as /C.
# "--" ends the options: a path such as /check/... would otherwise be read as /C heck/...
pragma = re.search(rb"^#pragma code_page\((\d+)\)", script.read_bytes(), re.M)
with tempfile.TemporaryDirectory() as work:
    res = Path(work, "out.res")
    code_page = ["/C", pragma[1].decode()] if pragma else []
    if subprocess.run([llvm_rc, *code_page, *(f"/I{d}" for d in includes), "/FO", res, "--", script]).returncode:
        sys.exit("resource-script: llvm-rc could not compile " + rc_file)
    data = res.read_bytes()


def read_id(offset):
    """An ordinal (0xFFFF, number) or a NUL-terminated UTF-16 name, and the offset after it."""
    if data[offset:offset + 2] == b"\xff\xff":
        return struct.unpack_from("<H", data, offset + 2)[0], offset + 4
    end = offset
    while data[end:end + 2] != b"\0\0":
        end += 2
    return data[offset:end].decode("utf-16-le"), end + 2


resources = {}  # type -> [(name, language, data)]
offset = 0
while offset < len(data):  # RESOURCEHEADER records, each DWORD-aligned
    size, header_size = struct.unpack_from("<II", data, offset)
    kind, after = read_id(offset + 8)
    name, after = read_id(after)
    language = struct.unpack_from("<H", data, ((after + 3) & ~3) + 6)[0]
    if kind != 0:  # the leading empty record that marks a 32-bit .res
        body = data[offset + header_size:offset + header_size + size]
        resources.setdefault(kind, []).append((name, language, body))
    offset = (offset + header_size + size + 3) & ~3

failures = []
def expect(condition, what):
    if not condition:
        failures.append(what)

expect(sorted(resources) == [RT_ICON, RT_GROUP_ICON, RT_VERSION, RT_MANIFEST], f"resource types {sorted(resources)}")
expect(all(language == GERMAN for entries in resources.values() for _, language, _ in entries), "not all German")
for kind, what in ((RT_MANIFEST, "manifests"), (RT_VERSION, "version records"), (RT_GROUP_ICON, "icons")):
    names = [name for name, _, _ in resources.get(kind, [])]
    expect(names == [1], f"{what} {names}, not one with id 1")
if failures:
    sys.exit("resource-script: " + "; ".join(failures))

manifest, version, group = (resources[kind][0][2] for kind in (RT_MANIFEST, RT_VERSION, RT_GROUP_ICON))
expect(manifest == (script.parent / "Trelvane.manifest").read_bytes(), "the manifest is not Trelvane.manifest")
# VS_FIXEDFILEINFO: signature, structure version, file version 1.0.0.2.
expect(struct.pack("<IIII", 0xFEEF04BD, 0x10000, 0x10000, 2) in version, "file version not 1.0.0.2")
expect(DESCRIPTION.encode("utf-16-le") in version, "FileDescription not the German text")
expect(struct.pack("<HH", GERMAN, 1200) in version, "translation not German, UTF-16")
# GRPICONDIR: reserved, type, count, then 14-byte entries that end with the RT_ICON id.
count = struct.unpack_from("<H", group, 4)[0]
images = sorted(struct.unpack_from("<H", group, 6 + 14 * i + 12)[0] for i in range(count))
expect(images == sorted(name for name, _, _ in resources[RT_ICON]), f"icon images {images} not those in the .res")
if failures:
    sys.exit("resource-script: " + "; ".join(failures))
print(f"resource-script: manifest, version record and icon with {count} images, as rc.exe reads the script")
