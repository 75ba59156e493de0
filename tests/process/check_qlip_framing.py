#!/usr/bin/env python3
"""Checks a QLIP recording against the bytes that came off the line.

usage: check_qlip_framing.py RECORDING RAW

The recording must be nothing but frames: DLE, id, payload with every DLE
doubled, DLE ETX, with no byte outside a frame. Every frame must be one the
line carried, re-framed byte for byte, and the frames must appear in the
line's order. Prints a summary; exits 1 on the first fault.
"""
import sys

DLE, ETX = 0x10, 0x03


def frames(data, strict):
    """Yields (id, payload) of each frame; in strict mode a stray byte fails."""
    i, n = 0, len(data)
    while i < n:
        if data[i] != DLE or i + 1 >= n or data[i + 1] in (DLE, ETX):
            if strict:
                raise ValueError(f"byte {i}: 0x{data[i]:02x} outside a frame")
            i += 1
            continue
        ident, j, payload = data[i + 1], i + 2, bytearray()
        while True:
            if j + 1 >= n:
                if strict:
                    raise ValueError(f"byte {i}: frame not closed")
                return
            if data[j] == DLE and data[j + 1] == DLE:
                payload.append(DLE)
                j += 2
            elif data[j] == DLE and data[j + 1] == ETX:
                break
            elif data[j] == DLE:
                if strict:
                    raise ValueError(f"byte {j}: lone DLE inside a frame")
                break
            else:
                payload.append(data[j])
                j += 1
        if data[j + 1] == ETX:
            yield ident, bytes(payload)
        i = j + 2


def reframe(ident, payload):
    return bytes([DLE, ident]) + payload.replace(b"\x10", b"\x10\x10") + bytes([DLE, ETX])


def main():
    recording = open(sys.argv[1], "rb").read()
    raw = open(sys.argv[2], "rb").read()
    try:
        recorded = list(frames(recording, True))
    except ValueError as e:
        print(f"recording: {e}")
        return 1
    if b"".join(reframe(i, p) for i, p in recorded) != recording:
        print("recording: frames are not stuffed exactly as on the wire")
        return 1
    line = list(frames(raw, False))
    # The recording is a run of the line's frames, in order.
    k = 0
    for f in recorded:
        while k < len(line) and line[k] != f:
            k += 1
        if k == len(line):
            print(f"recording: frame 0x{f[0]:02x} of {len(f[1])} bytes not on the line in this order")
            return 1
        k += 1
    ids = sorted({i for i, _ in recorded})
    print(f"ok: {len(recorded)} frames, {len(recording)} bytes, ids " + " ".join(f"{i:02x}" for i in ids))
    return 0


if __name__ == "__main__":
    sys.exit(main())
