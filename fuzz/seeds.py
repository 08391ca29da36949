#!/usr/bin/env python3
"""Writes the seed corpus of each fuzz target into fuzz/corpus/<target>/.

The targets read their input with FuzzedDataProvider: flags and strings from the
front (a string ends at a backslash followed by another character), integers and
floating-point numbers from the back.
"""
import hashlib
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))


def write(target, seeds):
    folder = os.path.join(HERE, "corpus", target)
    os.makedirs(folder, exist_ok=True)
    for seed in seeds:
        name = hashlib.sha1(seed).hexdigest()[:16]
        with open(os.path.join(folder, name), "wb") as out:
            out.write(seed)


def string(text):
    return text.replace(b"\\", b"\\\\") + b"\\x"


def height_seeds():
    texts = [b"160,00", b"100,1", b"170.3", b"   -5 ", b"+120", b"1,6E2", b"16000e-2",
             b"0E4999", b"1E5000", b"1E500", b"1E-499", b"1234567890123456789",
             b"0,000000000000000000000000001", b",", b"-", b"", b"1,2,3", b"99,5", b"300",
             b"2,2e38", b"2,3e38", b"1e39", b"\xd9\xa1\xd9\xa6\xd9\xa0", b"249,5", b"100,05"]
    seeds = []
    for i, text in enumerate(texts):
        # separator, sex, encoding flags; the height for the round trip at the back
        flags = bytes([i % 2, (i // 2) % 2, 1 if text.startswith(b"\xd9") else 0])
        seeds.append(flags + text + struct.pack("<Q", (i * 0x9E3779B97F4A7C15) % 2**64))
    return seeds


def inifile_seeds():
    files = [
        b"",
        b"[Morphocalcule]\nversion=1.1\n\n[Informations]\nstatus=0\n\n[Position]\nx=10\ny=20\n",
        b"\xef\xbb\xbf[Informations]\r\nstatus='1'\r\n",
        b"; commentaire\n[A]\nx=1\n\n\n[B]\ny=2",
        b"[Position\nx=1\n[Position]]\nx=2\n",
        b"status=1\n[INFORMATIONS]\n  STATUS  =  \" 0 \"  \n",
        b"\x00\xff\xfe[\x80]\n\xc3(=\x80\n",
        b"[A]\n" + b"k=" + b"v" * 2000 + b"\n",
    ]
    names = [(b"Informations", b"status", b"1"), (b"Position", b"x", b"-5"),
             (b"A", b"z", b"3"), (b"\xef\xbb\xbfS", b"k", b"v"), (b" B ", b" y ", b"'q'")]
    seeds = []
    for i, contents in enumerate(files):
        for operation in range(3):
            section, key, value = names[(i + operation) % len(names)]
            seeds.append(string(section) + string(key) + string(value) + contents +
                         bytes([operation]))
    return seeds


def integer_seeds():
    texts = [b"0", b"-1", b"+5", b"2147483647", b"-2147483648", b"2147483648", b"$FFFFFFFF",
             b"$100000000", b"0x10", b"0X1f", b"0x", b" 0x10", b"  42", b"42 ", b"-$10", b"$",
             b"abc", b"000000000002147483647", b"$000000001"]
    return [text + bytes([7, 200, 1, 2, 3, 4, 5, 6, 7, 8]) for text in texts]


def path_seeds():
    paths = ["C:\\APPS\\CALC.EXE", "C:\\MY.APPS\\CALC", "C:\\APPS\\CALC.", "/opt/my.apps/calc",
             "/usr/bin/morphocalcule", "/home/u/.calc", "./a.b/c", "/opt/été.v2/calcul", "",
             "a:b.c/d", "/x.y\\z"]
    seeds = []
    for i, path in enumerate(paths):
        encoding = i % 3
        data = (path.encode("utf-8") if encoding == 0 else
                path.encode("latin-1") if encoding == 1 else path.encode("utf-16-le"))
        seeds.append(data + bytes([encoding]))
    return seeds


write("heighttext", height_seeds())
write("inifile", inifile_seeds())
write("integerrule", integer_seeds())
write("settingspath", path_seeds())
