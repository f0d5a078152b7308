"""Fails when the download is not what a Windows user should get: packages
build/ into a scratch folder with tools/package and checks the result."""
import hashlib, os, re, subprocess, sys, time, zipfile

root, exe = sys.argv[1], sys.argv[2]
out = os.path.join(os.path.dirname(exe), "release-check")
problems = []

def run(*command):
    return subprocess.run(command, check=True, capture_output=True, text=True).stdout

def need(ok, what):
    if not ok:
        problems.append(what)

run(sys.executable, os.path.join(root, "tools", "package"), out)
program = open(exe, "rb").read()
epoch = os.environ.get("SOURCE_DATE_EPOCH") or run("git", "-C", root, "log", "-1", "--format=%ct")
commit = time.gmtime(int(epoch))
with zipfile.ZipFile(os.path.join(out, "KrvAdvanced-1.7-win32.zip")) as archive:
    need(archive.namelist() == ["KrvAdvanced.exe", "README.txt"], "zip holds %s" % archive.namelist())
    need(archive.read("KrvAdvanced.exe") == program, "the zip's exe differs from " + exe)
    readme = archive.read("README.txt")
    need(readme.count(b"\n") > 50 and readme.count(b"\n") == readme.count(b"\r\n"), "README.txt not CRLF")
    need(all(i.date_time[:3] == commit[:3] for i in archive.infolist()), "zip dates are not the commit's")
sums = dict(reversed(line.split("  ")) for line in open(os.path.join(out, "SHA256SUMS")).read().splitlines())
need(sorted(sums) == ["KrvAdvanced-1.7-win32.zip", "KrvAdvanced.exe"], "SHA256SUMS lists %s" % sorted(sums))
for name, digest in sums.items():
    need(hashlib.sha256(open(os.path.join(out, name), "rb").read()).hexdigest() == digest, "sum of " + name)

need(len(program) <= 250 * 1024, "%d bytes, over 250 KB" % len(program))
need(not re.search(r"\s(\.debug|/\d+\s)", run("i686-w64-mingw32-objdump", "-h", exe)), "debug sections left")
pe = program[0x3C] | program[0x3D] << 8
need(program[pe + 8:pe + 12] == b"\0\0\0\0", "a link time in the PE header")
need(os.path.abspath(root).encode() not in program, "a build path in the exe")

rc = re.sub(r"[ \t]+", " ", run("i686-w64-mingw32-windres", "-i", exe, "-O", "rc"))
for line in ("FILEVERSION 1, 7, 0, 0", 'VALUE "FileVersion", "1.7.0.0"', 'VALUE "ProductVersion", "1.7"',
             'VALUE "FileDescription", "KRV Advanced Engraver Settings"',
             'VALUE "OriginalFilename", "KrvAdvanced.exe"', 'VALUE "ProductName", "KRV Engraver Software"'):
    need(line in rc, "version resource lacks " + line)

print("\n".join(problems) or "release package: %d bytes, all checks passed" % len(program))
sys.exit(1 if problems else 0)
