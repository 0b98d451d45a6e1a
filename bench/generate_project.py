#!/usr/bin/env python3
"""Writes a synthetic layout project with N parts and N/10 footprints.

Usage: generate_project.py N OUTPUT.lpf

The file is written the way the layout editor writes it: a header, footprint
blocks with units, centroid, adhesive and selection lines and a pin list with
pads, the board section, and part blocks on both sides at all four right angles.
Footprints alternate between mils and nanometres and between SMD, through-hole
and mixed pin lists. The output depends only on N.
"""
import random
import sys


def footprint(out, index, rng):
    name = f'FP{index:06d}'
    pins = rng.choice([2, 2, 2, 3, 4, 6, 8, 14, 16])
    kind = index % 5  # 0..2 SMD, 3 through-hole, 4 mixed
    mils = index % 2 == 0
    unit = 1 if mils else 25400  # file units per mil
    out.append(f'name: "{name}"\n')
    out.append('author: "Synthetic library"\n')
    out.append('source: "bench/generate_project.py"\n')
    out.append(f'description: "Generated footprint {index} with {pins} pins"\n')
    out.append('units: MIL\n' if mils else 'units: NM\n')
    if index % 7 != 0:
        out.append(f'centroid: 0 0 {5 * unit * (index % 3)} {90 * (index % 4)}\n')
    if kind < 3:
        for spot in range(1 + index % 2):
            out.append(f'adhesive: 0 {20 * unit} {(spot * 30 - 15) * unit} 0\n')
    half = (pins + 1) // 2
    out.append(f'sel_rect: {-60 * unit} {-25 * half * unit} {60 * unit} {25 * half * unit}\n')
    out.append(f'n_pins: {pins}\n')
    for pin in range(pins):
        drilled = kind == 3 or (kind == 4 and pin >= pins - 2)
        x = (-50 if pin < half else 50) * unit
        y = (pin % half) * 50 * unit
        drill = 32 * unit if drilled else 0
        out.append(f'pin: {pin + 1} {drill} {x} {y} 0\n')
        if drilled:
            out.append(f'  top_pad: 1 {60 * unit} {60 * unit} 0 0 0\n')
            out.append(f'  bottom_pad: 1 {60 * unit} {60 * unit} 0 0 0\n')
        else:
            out.append(f'  top_pad: 2 {30 * unit} {40 * unit} 0 0 0\n')
            out.append(f'  top_paste: 2 {28 * unit} {38 * unit} 0 0\n')
        out.append(f'  top_mask: 2 {34 * unit} {44 * unit} 0 0\n')
    out.append('\n')


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    parts = int(sys.argv[1])
    footprints = max(1, parts // 10)
    rng = random.Random(parts)
    out = ['[project]\nproject_name: "Synthetic panel"\ndefault_glue_width: "508000"\n\n[footprints]\n\n']
    for index in range(footprints):
        footprint(out, index, rng)
    out.append('[board]\noutline: 0 0 500000000 0 500000000 500000000 0 500000000\n\n[parts]\n\n')
    prefixes = ['R', 'C', 'U', 'Q', 'D', 'L', 'J']
    for index in range(parts):
        ref = f'{prefixes[index % len(prefixes)]}{rng.randrange(1, parts * 2)}'
        out.append(f'part: {ref}\n')
        out.append(f'shape: "FP{rng.randrange(footprints):06d}"\n')
        out.append(f'value: "{rng.choice(["10k", "100n", "4k7", "LM358", "1u", "BAT54"])}"\n')
        out.append(f'pos: {rng.randrange(0, 500000000)} {rng.randrange(0, 500000000)} {index % 2} '
                   f'{90 * rng.randrange(4)} {1 if index % 97 == 0 else 0}\n\n')
    out.append('[nets]\n\n[end]\n')
    with open(sys.argv[2], 'w') as file:
        file.writelines(out)


if __name__ == '__main__':
    main()
