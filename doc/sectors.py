#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 The anglegrid-tools developers
# SPDX-License-Identifier: MIT
"""Draws doc/sectors.svg, the README's figure, from anglegrid's own output.

  sectors.py PROGRAM > sectors.svg      runs PROGRAM and PROGRAM -t
  { anglegrid; anglegrid -t; } | sectors.py > sectors.svg

The same table always gives the same bytes.
"""
import math
import subprocess
import sys

R = 105  # the full circle's radius
CX, CY = 160, 145  # its centre
ZOOM = 12  # the inset's magnification
MUTED = 'fill="#7d8590"'


def read_tables():
    if len(sys.argv) > 1:
        run = [subprocess.run([sys.argv[1], *args], check=True, capture_output=True, text=True)
               for args in ([], ['-t'])]
        lines = (run[0].stdout + run[1].stdout).splitlines()
    else:
        lines = sys.stdin.read().splitlines()
    rows = [[float(v) for v in line.rstrip(',').split(',')] for line in lines]
    if len(rows) != 12 or any(len(row) != 12 for row in rows):
        sys.exit('sectors.py: expected the table and the truncated table, six lines each')
    return rows[:6], [row[0] for row in rows[6:]]


def polar(radius, angle, x=CX, y=CY):
    return f'{x + radius * math.cos(angle):.1f}', f'{y - radius * math.sin(angle):.1f}'


def main():
    sectors, centres = read_tables()
    out = ['<svg xmlns="http://www.w3.org/2000/svg" width="600" height="310" '
           'viewBox="0 0 600 310" font-family="sans-serif" font-size="12">',
           f'<circle cx="{CX}" cy="{CY}" r="{R}" fill="none" stroke="#8c959f"/>']
    for centre in centres:
        x, y = polar(R + 6, centre)
        lx, ly = polar(R + 22, centre)
        out.append(f'<line x1="{CX}" y1="{CY}" x2="{x}" y2="{y}" stroke="#8c959f"/>')
        out.append(f'<text x="{lx}" y="{ly}" text-anchor="middle" dominant-baseline="middle" '
                   f'{MUTED}>{round(math.degrees(centre))}°</text>')
    for angle, label in ((0, '0°'), (math.pi, '180°')):
        x, y = polar(R + 8, angle)
        out.append(f'<text x="{x}" y="{y}" text-anchor="{"start" if angle == 0 else "end"}" '
                   f'dominant-baseline="middle" {MUTED} font-style="italic">{label}</text>')
    out.append('<g fill="#e8590c">')
    for sector in sectors:
        for angle in sector:
            x, y = polar(R, angle)
            out.append(f'<circle cx="{x}" cy="{y}" r="2.5"/>')
    out.append('</g>')
    # The first sector, magnified: its centre points up, so larger angles
    # lie to the left, as on the circle seen from inside.
    first, centre = sectors[0], centres[0]
    x, y = polar(R, centre)
    out.append(f'<circle cx="{x}" cy="{y}" r="10" fill="none" stroke="#7d8590" '
               'stroke-dasharray="3 2"/>')
    out.append(f'<line x1="{float(x) + 10:.1f}" y1="{y}" x2="330" y2="80" stroke="#7d8590" '
               'stroke-dasharray="3 2"/>')
    ix, iy, radius = 455, 125, R * ZOOM
    out.append('<rect x="330" y="55" width="250" height="150" rx="6" fill="none" '
               'stroke="#7d8590" stroke-dasharray="3 2"/>')
    out.append(f'<text x="{ix}" y="75" text-anchor="middle" {MUTED}>'
               f'{round(math.degrees(centre))}° sector, ×{ZOOM}</text>')
    ends = [polar(radius, math.pi / 2 + d, ix, iy + radius) for d in (0.07, -0.07)]
    out.append(f'<path d="M{ends[0][0]} {ends[0][1]} A{radius} {radius} 0 0 1 {ends[1][0]} '
               f'{ends[1][1]}" fill="none" stroke="#8c959f"/>')
    out.append(f'<line x1="{ix}" y1="{iy}" x2="{ix}" y2="{iy + 40}" stroke="#8c959f"/>')
    out.append(f'<text x="{ix}" y="{iy + 55}" text-anchor="middle" {MUTED}>{centre:.5f}</text>')
    out.append('<g fill="#e8590c">')
    for angle in first:
        x, y = polar(radius, math.pi / 2 + angle - centre, ix, iy + radius)
        out.append(f'<circle cx="{x}" cy="{y}" r="3.5"/>')
    out.append('</g>')
    for angle in (first[-1], first[0]):
        x, y = polar(radius, math.pi / 2 + angle - centre, ix, iy + radius)
        out.append(f'<text x="{x}" y="{float(y) - 12:.1f}" text-anchor="middle" '
                   f'{MUTED}>{angle:.5f}</text>')
    out.append(f'<text x="300" y="298" text-anchor="middle" {MUTED}>dots: the 72 positions · '
               'spokes: the sector centres (-t) · 0° and 180°: no sector</text>')
    out.append('</svg>')
    print('\n'.join(out))


main()
