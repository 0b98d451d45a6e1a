#!/usr/bin/env python3
"""Writes the stroke font ../font.xml from glyphs.txt.

The font is an OpenDocument drawing with one page per character, named by the
character, each stroke a draw:line on the "layout" layer. Every element follows
the previous one without line breaks: the program's scanner reads that compact
form only. Coordinates are centimetres on the drawing page (y grows downward).
"""
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
UNIT_CM = 0.25      # one grid step
MARGIN_CM = 1.0     # page margin
TOP = 7.0           # grid y of the font's top line

ENTITIES = {'"': '&quot;', '&': '&amp;', "'": '&apos;', '<': '&lt;', '>': '&gt;'}


def read_table(path):
    glyphs = []
    with open(path, encoding='ascii') as table:
        for number, line in enumerate(table, 1):
            line = line.rstrip('\n')
            if not line or line.startswith('//'):
                continue
            char, _, rest = line.partition(' ')
            if len(char) != 1:
                sys.exit(f'{path}:{number}: the first field must be one character')
            polylines = []
            for part in rest.split(' ; '):
                points = [tuple(float(v) for v in p.split(',')) for p in part.split()]
                if len(points) < 2:
                    sys.exit(f'{path}:{number}: a polyline needs two points')
                polylines.append(points)
            glyphs.append((char, polylines))
    return glyphs


def cm(value):
    return f'{value:.4f}'.rstrip('0').rstrip('.') + 'cm'


def page(char, polylines):
    name = ENTITIES.get(char, char)
    lines = []
    for points in polylines:
        for (x1, y1), (x2, y2) in zip(points, points[1:]):
            lines.append('<draw:line draw:layer="layout" draw:style-name="gr1" '
                         f'svg:x1="{cm(MARGIN_CM + x1 * UNIT_CM)}" svg:y1="{cm(MARGIN_CM + (TOP - y1) * UNIT_CM)}" '
                         f'svg:x2="{cm(MARGIN_CM + x2 * UNIT_CM)}" svg:y2="{cm(MARGIN_CM + (TOP - y2) * UNIT_CM)}">'
                         '</draw:line>')
    return (f'<draw:page draw:name="{name}" draw:style-name="dp1" draw:master-page-name="Glyph">'
            + ''.join(lines) + '</draw:page>')


def main():
    glyphs = read_table(os.path.join(HERE, 'glyphs.txt'))
    codes = sorted(ord(c) for c, _ in glyphs)
    if codes != list(range(33, 127)):
        missing = sorted(set(range(33, 127)) - set(codes))
        sys.exit(f'glyphs.txt must define every character from 33 to 126 once; missing {missing}')
    body = ''.join(page(c, p) for c, p in glyphs)
    document = ('<?xml version="1.0" encoding="UTF-8"?>'
                '<office:document xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0" '
                'xmlns:draw="urn:oasis:names:tc:opendocument:xmlns:drawing:1.0" '
                'xmlns:svg="urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0" '
                'office:version="1.2" office:mimetype="application/vnd.oasis.opendocument.graphics">'
                '<office:body><office:drawing>' + body + '</office:drawing></office:body></office:document>\n')
    with open(os.path.join(HERE, '..', 'font.xml'), 'w', encoding='ascii') as out:
        out.write(document)


if __name__ == '__main__':
    main()
