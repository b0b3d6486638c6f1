#!/usr/bin/env python3
"""charge_log_check.py LOG EXPECTED: reads the charge log LOG back with the csv module. After its
one header it must hold one line per line of EXPECTED, in order: "RUN POLL VOLTAGE TEMPERATURE
REPLY", the three texts as hex bytes. Every line of LOG is printable ASCII ending in CR LF."""
import csv, io, re, sys


def unescape(field):
    return re.sub(rb'\\x([0-9A-F]{2})', lambda m: bytes([int(m.group(1), 16)]), field.encode('latin-1'))


raw = open(sys.argv[1], 'rb').read()
problems = []
if not raw.endswith(b'\r\n') or raw.count(b'\n') != raw.count(b'\r\n'):
    problems.append('a line does not end with CR LF')
if any(byte < 0x20 or byte > 0x7E for byte in raw.replace(b'\r\n', b'')):
    problems.append('a byte other than printable ASCII inside a line')
rows = list(csv.reader(io.StringIO(raw.decode('latin-1'), newline='')))
if rows[:1] != [['time', 'run', 'poll', 'voltage_V', 'temperature_C', 'reply']]:
    problems.append(f'first line {rows[:1]}')
expected = [line.split(' ') for line in open(sys.argv[2]).read().splitlines()]
if len(rows) - 1 != len(expected):
    problems.append(f'{len(rows) - 1} lines after the header, expected {len(expected)}')
for row, (run, poll, *texts) in zip(rows[1:], expected):
    if (len(row) != 6 or not re.fullmatch(r'\d{4}-\d\d-\d\d \d\d:\d\d:\d\d', row[0])
            or row[1:3] != [run, poll]
            or [unescape(f) for f in row[3:]] != [bytes.fromhex(t) for t in texts]):
        problems.append(f'{row} is not run {run}, poll {poll}, {[bytes.fromhex(t) for t in texts]}')
for problem in problems:
    print('FAIL:', problem)
sys.exit(1 if problems else 0)
