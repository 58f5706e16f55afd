"""Writes the SVG sources of the 64x64 tool pointers and the three 32x32 fixed
pointers.

The tool pointers are drawn without anti-aliasing: the program recolours them
by a flood fill of one exact colour from a colour point, so the paint areas
must be flat and bounded by a different colour, and the mask is hard.
Coordinates: a pixel (x, y) covers the square from (x, y) to (x + 1, y + 1).
"""

import math

from svgkit import (INK, SKY, SKY_L, SUN, TANGERINE, GRAPE, TOMATO, TOMATO_D, PAPER,
                    mix, lighter, darker, svg)

PAINT = TOMATO  # the paint as drawn; the program pours the current colour over it
GLASS = "#E4F3FD"  # the empty dropper glass, also a pour area
METAL = "#D3DAE6"
BULB = TOMATO_D  # the dropper's rubber bulb, kept apart from the paint colour
RUBBER_TIP = mix(TOMATO, PAPER, 0.45)  # the eraser; never recoloured
OUT = 3  # outline width at 64 pixels

# name: (hot spot, colour point or None), for the 64x64 set
TABLE = {
    "fill": ((4, 60), (4, 50)),
    "brush": ((0, 63), (2, 62)),
    "mbrush": ((0, 63), (2, 62)),
    "dropper0": ((4, 63), (4, 59)),
    "dropper1": ((4, 63), (4, 59)),
    "dropper2": ((4, 63), (4, 59)),
    "dropper3": ((4, 63), (4, 59)),
    "dropper4": ((4, 63), (4, 59)),
    "dropper5": ((4, 63), (4, 59)),
    "marker": ((1, 62), None),
    "eraser": ((4, 60), None),
    "tap": ((4, 63), None),
}


def brush(magic):
    """A round brush lying at 45 degrees, its paint-loaded tip in the lower
    left corner. The masked brush is ringed by a dotted boundary, the edge its
    paint cannot cross."""
    handle = TANGERINE
    parts = []
    if magic:
        for i in range(7):
            a = math.radians(5 + i * 13.3)
            parts.append(f'<circle cx="{28 * math.cos(a):.2f}" cy="{64 - 28 * math.sin(a):.2f}" r="2.9" fill="{GRAPE}"/>')
    g = []
    g.append(f'<path d="M-4,-25 L-5.5,-70 Q-6,-86 0,-86 Q6,-86 5.5,-70 L4,-25 Z" fill="{handle}" stroke="{INK}" stroke-width="{OUT}" stroke-linejoin="round"/>')
    g.append(f'<path d="M1.5,-30 L2.3,-72" stroke="{lighter(handle, 0.45)}" stroke-width="2"/>')
    g.append(f'<rect x="-7" y="-28" width="14" height="12" rx="2" fill="{METAL}" stroke="{INK}" stroke-width="{OUT}"/>')
    g.append(f'<path d="M-5.5,-22 L5.5,-22" stroke="{INK}" stroke-width="1.6"/>')
    g.append(f'<path d="M0,-0.2 C-4.5,-3 -7.5,-9 -7.5,-13 L-7.5,-17.5 L7.5,-17.5 L7.5,-13 C7.5,-9 4.5,-3 0,-0.2 Z" fill="{INK}"/>')
    g.append(f'<path d="M0,3 C-3,-0.5 -5.2,-7 -5.2,-11 L-5.2,-15.5 L5.2,-15.5 L5.2,-11 C5.2,-7 3,-0.5 0,3 Z" fill="{PAINT}"/>')
    g.append(f'<rect x="-7" y="-17.5" width="14" height="2" fill="{INK}"/>')
    parts.append(f'<g transform="translate(0,64) rotate(45)">{"".join(g)}</g>')
    return svg(64, 64, "".join(parts), crisp=True)


def bucket():
    """A paint pot tipped to the left: paint shows in its mouth and runs over
    the lower lip in a stream whose drip ends at the pointer's active pixel."""
    at = 'transform="translate(15,33) rotate(-62)"'
    g = []
    g.append(f'<path d="M-15,0 L-12,29 Q0,34 12,29 L15,0 Z" fill="{SKY}" stroke="{INK}" stroke-width="{OUT}" stroke-linejoin="round"/>')
    g.append(f'<path d="M-13.6,11 L13.6,11 L13,17 L-13,17 Z" fill="{SUN}" stroke="{INK}" stroke-width="2"/>')
    g.append(f'<path d="M9.5,4 L9,9 M8.5,19 L8,26" stroke="{lighter(SKY, 0.5)}" stroke-width="2.5"/>')
    g.append(f'<path d="M15,6 C27,8 27,24 12,24" fill="none" stroke="{INK}" stroke-width="{OUT}"/>')
    g.append(f'<ellipse cx="0" cy="0" rx="16" ry="6" fill="{INK}"/>')
    stream = ("M10.5,39 C6,40.5 3.6,43 2.6,46.5 C1.8,49.5 2.4,52 2.6,54.8 "
              "C1.2,56.6 1.8,60.6 4.5,60.6 C7.2,60.6 7.8,57 6.6,55 C6.6,52.4 7.2,49.6 9.5,47.5 C12,45 13,42 10.5,39 Z")
    stream_ink = ("M11.5,36.5 C4.5,38 1.2,42 0.3,46.5 C-0.5,50 0.2,52.5 0.4,54.2 "
                  "C-1.2,57.5 0.4,62.9 4.5,62.9 C8.6,62.9 10.3,58.2 9,55.2 C9,53.2 9.6,51.4 11.4,49.6 C15,46.2 16,40 11.5,36.5 Z")
    parts = [f'<g {at}>{"".join(g)}</g>',
             f'<path d="{stream_ink}" fill="{INK}"/>',
             f'<g {at}><ellipse cx="0" cy="0" rx="12.5" ry="3.5" fill="{PAINT}"/></g>',
             f'<path d="{stream}" fill="{PAINT}"/>',
             f'<path d="M4.3,57 L4.3,58.6" stroke="{PAPER}" stroke-width="1.4"/>']
    return svg(64, 64, "".join(parts), crisp=True)


def dropper(drops):
    """A dropper at 20 degrees, nozzle in the lower left. drops 0 is the empty
    glass; 1 to 5 fill it up to that many marks."""
    g = []
    outer = ("M-2.6,0.4 L2.6,0.4 L5.8,-6.5 L5.8,-41 L-5.8,-41 L-5.8,-6.5 Z")
    inner = ("M-1.2,0.6 L1.2,0.6 L3.6,-6.3 L3.6,-40 L-3.6,-40 L-3.6,-6.3 Z")
    g.append(f'<path d="{outer}" fill="{INK}"/>')
    g.append(f'<path d="{inner}" fill="{GLASS}"/>')
    if drops:
        level = 9 + 6 * drops
        g.append(f'<clipPath id="lv"><rect x="-8" y="{-level}" width="16" height="{level + 4}"/></clipPath>')
        g.append(f'<path d="{inner}" fill="{PAINT}" clip-path="url(#lv)"/>')
        g.append(f'<rect x="-3.6" y="{-level - 1}" width="7.2" height="1" fill="{darker(GLASS, 0.2)}"/>')
    g.append(f'<rect x="1.6" y="-37" width="2" height="26" fill="{PAPER}"/>')
    g.append(f'<rect x="-7.5" y="-45" width="15" height="6" rx="1.5" fill="{GRAPE}" stroke="{INK}" stroke-width="2"/>')
    g.append(f'<path d="M-6.5,-45 C-10,-50 -10.5,-62 -5,-66 Q0,-69.5 5,-66 C10.5,-62 10,-50 6.5,-45 Z" '
             f'fill="{BULB}" stroke="{INK}" stroke-width="{OUT}" stroke-linejoin="round"/>')
    g.append(f'<path d="M3.5,-49 C6,-53 6,-59 3.5,-63" fill="none" stroke="{lighter(BULB, 0.5)}" stroke-width="2.2"/>')
    return svg(64, 64, f'<g transform="translate(4.5,64) rotate(20)">{"".join(g)}</g>', crisp=True)


def marker():
    """A felt-tip marker for drawing line art, tip in the lower left."""
    g = []
    g.append(f'<path d="M-1.4,0.8 L1.4,0.8 L4,-11 L-4,-11 Z" fill="{INK}"/>')
    g.append(f'<path d="M-5,-10 L5,-10 L7,-16 L-7,-16 Z" fill="{METAL}" stroke="{INK}" stroke-width="2" stroke-linejoin="round"/>')
    g.append(f'<rect x="-8" y="-76" width="16" height="62" rx="4" fill="{GRAPE}" stroke="{INK}" stroke-width="{OUT}"/>')
    g.append(f'<rect x="-8" y="-24" width="16" height="10" fill="{lighter(GRAPE, 0.35)}" stroke="{INK}" stroke-width="2"/>')
    g.append(f'<rect x="-8" y="-76" width="16" height="18" rx="4" fill="{INK}"/>')
    g.append(f'<path d="M3.5,-55 L3.5,-28" stroke="{lighter(GRAPE, 0.5)}" stroke-width="2.2"/>')
    return svg(64, 64, f'<g transform="translate(1,63.4) rotate(45)">{"".join(g)}</g>', crisp=True)


def eraser():
    """A tilted eraser block with a sky sleeve; its lower left corner rubs out."""
    g = []
    g.append(f'<rect x="-0.6" y="-44" width="22" height="44.6" rx="2.5" fill="{RUBBER_TIP}" stroke="{INK}" stroke-width="{OUT}"/>')
    g.append(f'<rect x="-1.5" y="-44" width="24" height="24" rx="2.5" fill="{SKY}" stroke="{INK}" stroke-width="{OUT}"/>')
    g.append(f'<path d="M3,-40 L3,-24" stroke="{SKY_L}" stroke-width="2.2"/>')
    g.append(f'<path d="M3,-16 L3,-5" stroke="{lighter(RUBBER_TIP, 0.5)}" stroke-width="2.2"/>')
    return svg(64, 64, f'<g transform="translate(4,61.2) rotate(38)">{"".join(g)}</g>', crisp=True)


def tap():
    """A water tap whose falling drop lands on the pointer's active pixel."""
    p = []
    p.append(f'<rect x="49" y="20" width="10" height="26" rx="3" fill="{METAL}" stroke="{INK}" stroke-width="{OUT}"/>')
    p.append(f'<path d="M50,27 L22,27 Q0,27 0,47 L0,48 L13,48 L13,47 Q13,40 22,40 L50,40 Z" '
             f'fill="{METAL}" stroke="{INK}" stroke-width="{OUT}" stroke-linejoin="round"/>')
    p.append(f'<path d="M22,30.5 L46,30.5" stroke="{PAPER}" stroke-width="2.2"/>')
    p.append(f'<rect x="31" y="18" width="6" height="10" fill="{METAL}" stroke="{INK}" stroke-width="2.5"/>')
    p.append(f'<rect x="22" y="10" width="24" height="9" rx="4.5" fill="{TOMATO}" stroke="{INK}" stroke-width="{OUT}"/>')
    p.append(f'<path d="M26,13.5 L42,13.5" stroke="{lighter(TOMATO, 0.5)}" stroke-width="2"/>')
    p.append(f'<path d="M4.5,49.5 C3.8,52 -0.2,55 -0.2,58.8 C-0.2,61.6 2,64 4.5,64 C7,64 9.2,61.6 9.2,58.8 C9.2,55 5.2,52 4.5,49.5 Z" '
             f'fill="{INK}"/>')
    p.append(f'<path d="M4.5,53 C4,55 1.6,57 1.6,59.2 C1.6,61 2.8,62 4.5,62 C6.2,62 7.4,61 7.4,59.2 C7.4,57 5,55 4.5,53 Z" fill="{SKY}"/>')
    p.append(f'<rect x="5" y="57" width="1.6" height="3" fill="{PAPER}"/>')
    p.append(f'<path d="M15,56 L18,53 M17,60 L21,59" stroke="{SKY}" stroke-width="2.4"/>')
    return svg(64, 64, "".join(p), crisp=True)


def qc_hand():
    """Pointing hand, fingertip at (13, 2)."""
    hand = ("M11.3,4 Q11.3,1.6 13.5,1.6 Q15.7,1.6 15.7,4 L15.7,13.2 Q16.5,12 18,12.3 Q19.6,12.7 19.6,14.4 "
            "Q20.5,13.4 22,13.8 Q23.4,14.3 23.4,16 Q24.3,15.3 25.6,15.8 Q27,16.4 27,18.2 L27,23 "
            "Q27,27.5 24,29.5 L24,30.5 L13,30.5 L13,29.3 Q11,28 9.5,25.5 L5.6,19.5 Q4.8,18 6.1,17.2 "
            "Q7.4,16.5 8.6,17.6 L11.3,20.3 Z")
    body = (f'<path d="{hand}" transform="translate(0.7,0.9)" fill="{INK}" opacity="0.3"/>'
            f'<path d="{hand}" fill="{PAPER}" stroke="{INK}" stroke-width="1.6" stroke-linejoin="round"/>'
            f'<path d="M15.7,13.2 L15.7,18 M19.6,14.4 L19.6,18.5 M23.4,16 L23.4,19.5" stroke="{INK}" stroke-width="1.2" stroke-linecap="round"/>'
            f'<rect x="13" y="28" width="11" height="2.5" fill="{SKY}"/>')
    return svg(32, 32, body)


def qc_arrow():
    """Arrow pointer, tip at (2, 2)."""
    arrow = "M2.9,2.9 L2.9,24 L8,19.3 L11.6,27.4 L15.3,25.8 L11.8,17.9 L18.5,17.9 Z"
    body = (f'<path d="{arrow}" transform="translate(0.8,1)" fill="{INK}" opacity="0.3"/>'
            f'<path d="{arrow}" fill="{PAPER}" stroke="{INK}" stroke-width="1.7" stroke-linejoin="round"/>'
            f'<path d="M4.8,8 L4.8,18.5" stroke="{SKY_L}" stroke-width="1.4" stroke-linecap="round"/>')
    return svg(32, 32, body)


def qc_no():
    """Not-allowed sign centred on (15, 15)."""
    c = 15.5
    body = (f'<circle cx="{c}" cy="{c}" r="11.5" fill="{PAPER}" opacity="0.5"/>'
            f'<circle cx="{c}" cy="{c}" r="11.5" fill="none" stroke="{INK}" stroke-width="6.5"/>'
            f'<path d="M7.4,7.4 L23.6,23.6" stroke="{INK}" stroke-width="6.5" stroke-linecap="round"/>'
            f'<circle cx="{c}" cy="{c}" r="11.5" fill="none" stroke="{TOMATO}" stroke-width="3.6"/>'
            f'<path d="M7.4,7.4 L23.6,23.6" stroke="{TOMATO}" stroke-width="3.6" stroke-linecap="round"/>')
    return svg(32, 32, body)


def sources():
    out = [("fill", "cursor", bucket()), ("brush", "cursor", brush(False)),
           ("mbrush", "cursor", brush(True))]
    out += [(f"dropper{n}", "cursor", dropper(n)) for n in range(6)]
    out += [("marker", "cursor", marker()), ("eraser", "cursor", eraser()), ("tap", "cursor", tap())]
    out += [("qc_hand", "png", qc_hand()), ("qc_arrow", "png", qc_arrow()), ("qc_no", "png", qc_no())]
    return out
