#!/usr/bin/env python3
"""A native-messaging host as the tutorials write one.

Reads each framed request from standard input with the json module and
answers it on standard output, flushing every reply. It answers
RequestGetVersion; any other request type gets an error, as it has no library
behind it. Ends with its input. Its version text is the host's, which its
driver hands it in $TAVMO_HOST_VERSION.
"""
import json
import os
import struct
import sys

VERSION = os.environ["TAVMO_HOST_VERSION"]


def read_message():
    raw_length = sys.stdin.buffer.read(4)
    if len(raw_length) < 4:
        return None
    length = struct.unpack("<I", raw_length)[0]
    body = sys.stdin.buffer.read(length)
    if len(body) < length:
        return None
    return body.decode("utf-8")


def send_message(message):
    encoded = json.dumps(message).encode("utf-8")
    sys.stdout.buffer.write(struct.pack("<I", len(encoded)))
    sys.stdout.buffer.write(encoded)
    sys.stdout.buffer.flush()


def answer(text):
    try:
        request = json.loads(text)
    except ValueError:
        request = None
    if not isinstance(request, dict):
        return {"error": "Not a valid JSON object", "_direction": 2}
    if request.get("type") == "RequestGetVersion":
        request["version"] = VERSION
    else:
        request["error"] = "Unknown request type"
    request["_direction"] = 2
    return request


def main():
    while True:
        text = read_message()
        if text is None:
            return
        send_message(answer(text))


if __name__ == "__main__":
    main()
