#!/usr/bin/env python3
"""Writes sample-1hz.nmea: 40 seconds of a 1 Hz receiver with 10 satellites in view,
no fix for the first 3 seconds, then a 3D fix moving at 22 knots on course 251."""
import math

def sentence(body):
    x = 0
    for c in body.encode():
        x ^= c
    return "$%s*%02X\r\n" % (body, x)

def ddmm(value, width):
    v = abs(value)
    d = int(v)
    return "%0*d%07.4f" % (width, d, (v - d) * 60)

sats = [(4, 65, 54, 42), (2, 60, 325, 26), (13, 40, 63, 35), (10, 36, 245, 40),
        (24, 31, 87, 30), (17, 25, 155, 34), (5, 14, 276, 21), (23, 13, 39, 24),
        (30, 9, 305, 16), (27, 2, 115, 0)]
used = [4, 2, 17, 10, 24, 23, 13]
lat, lon = 37.50415333, 127.04777167
speed_kn, course = 22.12, 251.43
out = []
for t in range(40):
    hh, mm, ss = 2, 34 + (41 + t) // 60, (41 + t) % 60
    utc = "%02d%02d%02d.000" % (hh, mm, ss)
    fix = t >= 3
    if fix:
        dist = speed_kn * 1852 / 3600.0
        lat += dist * math.cos(math.radians(course)) / 111320.0
        lon += dist * math.sin(math.radians(course)) / (111320.0 * math.cos(math.radians(lat)))
    la, lo = ddmm(lat, 2), ddmm(lon, 3)
    st = "A" if fix else "V"
    sp = speed_kn if fix else 0.0
    out.append(sentence("GPRMC,%s,%s,%s,N,%s,E,%.2f,%.2f,200406,,,%s" % (utc, st, la, lo, sp, course, "A" if fix else "N")))
    out.append(sentence("GPGGA,%s,%s,N,%s,E,%d,%02d,1.2,78.3,M,19.6,M,,0000" % (utc, la, lo, 1 if fix else 0, len(used) if fix else 0)))
    prns = ",".join(["%02d" % p for p in used] + [""] * (12 - len(used))) if fix else "," * 11
    out.append(sentence("GPGSA,A,%d,%s,2.2,1.2,1.9" % (3 if fix else 1, prns)))
    for m in range(3):
        group = sats[4 * m:4 * m + 4]
        parts = []
        for prn, el, az, snr in group:
            snr_now = snr + (t % 5) - 2 if snr else 0
            parts.append("%02d,%02d,%03d,%s" % (prn, el, (az + t // 10) % 360, "%02d" % snr_now if snr else ""))
        out.append(sentence("GPGSV,3,%d,10,%s" % (m + 1, ",".join(parts))))
    out.append(sentence("GPVTG,%.2f,T,,M,%.2f,N,%.2f,K,%s" % (course, sp, sp * 1.852, "A" if fix else "N")))
    out.append(sentence("GPGLL,%s,N,%s,E,%s,%s,%s" % (la, lo, utc, st, "A" if fix else "N")))

with open("sample-1hz.nmea", "w", newline="") as f:
    f.writelines(out)
