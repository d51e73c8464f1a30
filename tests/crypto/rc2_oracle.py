"""Second implementation of the pass-phrase cipher and its text forms, for the tests.

Reads a JSON list of cases {phrase, text, base64, hex, ours} on standard input and prints a JSON
list of {theirs, decrypted}: the text encrypted here in the same form, and `ours` decrypted here.
"""
import base64
import hashlib
import json
import sys

from Cryptodome.Cipher import ARC2
from Cryptodome.Util.Padding import pad, unpad


def cipher(phrase):
    key = hashlib.sha1(phrase.encode("cp1251")).digest()[:16]
    return ARC2.new(key, ARC2.MODE_CBC, iv=bytes(8), effective_keylen=128)


def to_form(data, b64, hx):
    if b64:
        flat = base64.b64encode(data).decode("ascii")
        data = "".join(flat[i:i + 64] + "\r\n" for i in range(0, len(flat), 64)).encode("ascii")
    if hx:
        return data.hex().upper()
    return data.decode("latin-1")


def from_form(text, b64, hx):
    data = bytes.fromhex(text) if hx else text.encode("latin-1")
    if b64:
        data = base64.b64decode(b"".join(data.split()), validate=True)
    return data


def main():
    out = []
    for case in json.load(sys.stdin):
        phrase, b64, hx = case["phrase"], case["base64"], case["hex"]
        sealed = cipher(phrase).encrypt(pad(case["text"].encode("cp1251"), 8))
        try:
            opened = unpad(cipher(phrase).decrypt(from_form(case["ours"], b64, hx)), 8).decode("cp1251")
        except ValueError as e:
            opened = "<failed: %s>" % e
        out.append({"theirs": to_form(sealed, b64, hx), "decrypted": opened})
    json.dump(out, sys.stdout)


main()
