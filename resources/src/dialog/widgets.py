"""Writes the SVG sources of the dialog background, the group panel, the dialog
buttons, check box, radio button, expand and folder buttons, the volume slider
and the four bubble-hint pictures.

Every button set has four looks: 0 normal, 1 hover, 2 down, 3 down and hover.
Hover is lighter with a soft sunshine glow; down is darker with an inner shadow
and, for push buttons, sits one pixel lower.
"""

from svgkit import (INK, SKY, SKY_L, SUN, GRASS, GRASS_D, TOMATO, TOMATO_D,
                    TANGERINE, CREAM, PAPER, mix, lighter, darker, svg,
                    blur_filter, vgrad, hgrad)

# The cream of the dialog centre as it comes out of the JPEG coder; the group
# panel paints its outer corners with it so they vanish on the dialog.
DIALOG_CREAM = "#FFF8E6"

STATES = ((False, False), (True, False), (False, True), (True, True))  # (hover, down)


def dialog():
    """24x24 nine-slice art, 8-pixel parts: every edge strip is uniform along
    its length and the centre is flat, so the repeated parts join seamlessly."""
    body = (f'<rect width="24" height="24" fill="{INK}"/>'
            f'<rect x="1" y="1" width="22" height="22" rx="6" fill="{SKY}"/>'
            f'<rect x="2" y="2" width="20" height="20" rx="5" fill="none" stroke="{lighter(SKY, 0.45)}" stroke-width="1"/>'
            f'<rect x="5" y="5" width="14" height="14" rx="3" fill="{darker(SKY, 0.55)}"/>'
            f'<rect x="6" y="6" width="12" height="12" rx="2" fill="{CREAM}"/>')
    return svg(24, 24, body)


def grp_blue():
    """20x40 group panel: 13-pixel header band over a light body, tiled."""
    body_c = mix(SKY_L, PAPER, 0.55)
    band = mix(SKY_L, SKY, 0.22)
    edge = mix(SKY, SKY_L, 0.2)
    body = (f'<rect width="20" height="40" fill="{DIALOG_CREAM}"/>'
            f'<clipPath id="c"><rect x="0" y="0" width="20" height="40" rx="4"/></clipPath>'
            f'<g clip-path="url(#c)">'
            f'<rect width="20" height="40" fill="{body_c}"/>'
            f'<rect width="20" height="12" fill="{band}"/>'
            f'<rect y="2" width="20" height="1" fill="{lighter(band, 0.5)}"/>'
            f'<rect y="12" width="20" height="1" fill="{mix(band, SKY, 0.45)}"/>'
            f'</g>'
            f'<rect x="0.75" y="0.75" width="18.5" height="38.5" rx="3.25" fill="none" stroke="{edge}" stroke-width="1.5"/>')
    return svg(20, 40, body)


def pill(w, h, base, shade, hover, down):
    """A rounded push button with room for a 2-pixel glow; the middle stays
    plain so the program's white caption reads well."""
    top, bottom = base, mix(base, shade, 0.85)
    if hover:
        top, bottom = lighter(top, 0.2), lighter(bottom, 0.14)
    if down:
        top, bottom = mix(top, shade, 0.6), mix(bottom, INK, 0.12)
    dy = 1 if down else 0
    x0, y0, pw, ph = 3, 3 + dy, w - 6, h - 9
    r = ph / 2
    defs = vgrad("g", [(0, top), (1, bottom)]) + blur_filter("glow", 1.2) + blur_filter("soft", 1.5)
    out = []
    if hover:
        out.append(f'<rect x="{x0}" y="{y0}" width="{pw}" height="{ph}" rx="{r}" fill="none" '
                   f'stroke="{SUN}" stroke-width="4" filter="url(#glow)"/>')
    if not down:
        out.append(f'<rect x="{x0}" y="{y0 + 2}" width="{pw}" height="{ph}" rx="{r}" fill="{INK}" opacity="0.35"/>')
    out.append(f'<rect x="{x0}" y="{y0}" width="{pw}" height="{ph}" rx="{r}" fill="url(#g)"/>')
    out.append(f'<clipPath id="in"><rect x="{x0}" y="{y0}" width="{pw}" height="{ph}" rx="{r}"/></clipPath>')
    if down:
        out.append(f'<g clip-path="url(#in)"><rect x="{x0 - 4}" y="{y0 - 6}" width="{pw + 8}" height="{ph}" '
                   f'rx="{r}" fill="none" stroke="{INK}" stroke-width="6" opacity="0.45" filter="url(#soft)"/></g>')
    else:
        out.append(f'<rect x="{x0 + r * 0.7}" y="{y0 + 2}" width="{pw - r * 1.4}" height="3" '
                   f'rx="1.5" fill="{PAPER}" opacity="0.45"/>')
    out.append(f'<rect x="{x0}" y="{y0}" width="{pw}" height="{ph}" rx="{r}" fill="none" stroke="{INK}" stroke-width="2"/>')
    return svg(w, h, "".join(out), defs)


def check(hover, down):
    """28x28 check box; the down looks are the checked box with a tick."""
    fill = mix(PAPER, SKY_L, 0.35) if hover else PAPER
    defs = blur_filter("glow", 1.2) + blur_filter("soft", 1.2)
    out = []
    if hover:
        out.append(f'<rect x="4" y="4" width="20" height="20" rx="5" fill="none" stroke="{SUN}" stroke-width="3.5" filter="url(#glow)"/>')
    out.append(f'<rect x="4" y="4" width="20" height="20" rx="5" fill="{fill}"/>')
    out.append('<clipPath id="in"><rect x="4" y="4" width="20" height="20" rx="5"/></clipPath>')
    out.append(f'<g clip-path="url(#in)"><rect x="1" y="1" width="26" height="26" rx="7" fill="none" '
               f'stroke="{INK}" stroke-width="{5 if down else 3}" opacity="{0.35 if down else 0.15}" filter="url(#soft)"/></g>')
    out.append(f'<rect x="4" y="4" width="20" height="20" rx="5" fill="none" stroke="{INK}" stroke-width="2"/>')
    if down:
        tick = "M8.5,14.5 L12.5,19 L21.5,7.5"
        green = lighter(GRASS_D, 0.12) if hover else GRASS_D
        out.append(f'<path d="{tick}" fill="none" stroke="{INK}" stroke-width="6" stroke-linecap="round" stroke-linejoin="round"/>')
        out.append(f'<path d="{tick}" fill="none" stroke="{green}" stroke-width="3" stroke-linecap="round" stroke-linejoin="round"/>')
    return svg(28, 28, "".join(out), defs)


def option(hover, down):
    """18x18 radio button; the down looks carry the selection dot."""
    fill = mix(PAPER, SKY_L, 0.35) if hover else PAPER
    defs = blur_filter("glow", 0.9) + blur_filter("soft", 0.8)
    out = []
    if hover:
        out.append(f'<circle cx="9" cy="9" r="7" fill="none" stroke="{SUN}" stroke-width="2.5" filter="url(#glow)"/>')
    out.append(f'<circle cx="9" cy="9" r="6.5" fill="{fill}"/>')
    out.append('<clipPath id="in"><circle cx="9" cy="9" r="6.5"/></clipPath>')
    out.append(f'<g clip-path="url(#in)"><circle cx="9" cy="8" r="8.5" fill="none" stroke="{INK}" '
               f'stroke-width="3" opacity="{0.35 if down else 0.15}" filter="url(#soft)"/></g>')
    out.append(f'<circle cx="9" cy="9" r="6.5" fill="none" stroke="{INK}" stroke-width="2"/>')
    if down:
        dot = lighter(GRASS_D, 0.12) if hover else GRASS_D
        out.append(f'<circle cx="9" cy="9" r="3.4" fill="{dot}"/>')
        out.append(f'<circle cx="8" cy="7.9" r="1.1" fill="{PAPER}" opacity="0.8"/>')
    return svg(18, 18, "".join(out), defs)


def round_button(hover, down, glyph):
    """24x24 round sky button around a glyph drawn by the caller."""
    base = SKY
    top, bottom = lighter(base, 0.25), darker(base, 0.1)
    if hover:
        top, bottom = lighter(top, 0.2), lighter(bottom, 0.15)
    if down:
        top, bottom = darker(top, 0.2), darker(bottom, 0.15)
    cy = 12.5 if down else 11.5
    defs = vgrad("g", [(0, top), (1, bottom)]) + blur_filter("glow", 1.0) + blur_filter("soft", 1.0)
    out = []
    if hover:
        out.append(f'<circle cx="12" cy="{cy}" r="9.8" fill="none" stroke="{SUN}" stroke-width="2.5" filter="url(#glow)"/>')
    out.append(f'<circle cx="12" cy="{cy}" r="9.5" fill="url(#g)"/>')
    out.append(f'<clipPath id="in"><circle cx="12" cy="{cy}" r="9.5"/></clipPath>')
    if down:
        out.append(f'<g clip-path="url(#in)"><circle cx="12" cy="{cy - 2}" r="11" fill="none" stroke="{INK}" '
                   f'stroke-width="3" opacity="0.45" filter="url(#soft)"/></g>')
    else:
        out.append(f'<ellipse cx="12" cy="{cy - 4.5}" rx="5.5" ry="2.4" fill="{PAPER}" opacity="0.35"/>')
    out.append(f'<circle cx="12" cy="{cy}" r="9.5" fill="none" stroke="{INK}" stroke-width="2"/>')
    out.append(glyph(cy))
    return svg(24, 24, "".join(out), defs)


def expand(hover, down):
    """Expand button: a chevron pointing down while collapsed, up while expanded."""
    def chevron(cy):
        d = (f"M7.5,{cy - 2} L12,{cy + 2.5} L16.5,{cy - 2}" if not down
             else f"M7.5,{cy + 2} L12,{cy - 2.5} L16.5,{cy + 2}")
        return (f'<path d="{d}" fill="none" stroke="{INK}" stroke-width="5" stroke-linecap="round" stroke-linejoin="round" opacity="0.55"/>'
                f'<path d="{d}" fill="none" stroke="{PAPER}" stroke-width="2.6" stroke-linecap="round" stroke-linejoin="round"/>')
    return round_button(hover, down, chevron)


def folder(hover, down):
    """24x24 folder button: a sunshine folder with a tangerine back."""
    dy = 1 if down else 0
    back, front = TANGERINE, SUN
    if down:
        back, front = mix(back, TOMATO_D, 0.3), mix(front, TANGERINE, 0.4)
    if hover:
        back, front = lighter(back, 0.2), lighter(front, 0.3)
    defs = blur_filter("glow", 1.0) + blur_filter("soft", 0.9)
    t = f'translate(0,{dy})'
    back_path = "M3,6.5 Q3,4.5 5,4.5 L9.5,4.5 L11.5,6.5 L19,6.5 Q21,6.5 21,8.5 L21,18 Q21,19.5 19.5,19.5 L4.5,19.5 Q3,19.5 3,18 Z"
    front_path = "M3,18.5 L5,10.5 Q5.4,9.5 6.5,9.5 L21.5,9.5 Q22.5,9.5 22.3,10.6 L20.4,18.4 Q20.1,19.5 19,19.5 L4.2,19.5 Q2.8,19.5 3,18.5 Z"
    out = []
    if hover:
        out.append(f'<g transform="{t}" filter="url(#glow)"><path d="{back_path}" fill="none" stroke="{SUN}" stroke-width="3"/>'
                   f'<path d="{front_path}" fill="none" stroke="{SUN}" stroke-width="3"/></g>')
    if not down:
        out.append(f'<path d="{front_path}" transform="translate(0,1.5)" fill="{INK}" opacity="0.3"/>')
    out.append(f'<g transform="{t}">'
               f'<path d="{back_path}" fill="{back}" stroke="{INK}" stroke-width="1.6" stroke-linejoin="round"/>'
               f'<rect x="6" y="7.6" width="12" height="3" rx="0.8" fill="{PAPER}" stroke="{INK}" stroke-width="0.8"/>'
               f'<path d="{front_path}" fill="{front}" stroke="{INK}" stroke-width="1.6" stroke-linejoin="round"/>')
    if down:
        out.append(f'<clipPath id="in"><path d="{front_path}"/></clipPath><g clip-path="url(#in)">'
                   f'<path d="M2,10.5 L23,10.5" stroke="{INK}" stroke-width="2.5" opacity="0.4" filter="url(#soft)"/></g>')
    else:
        out.append(f'<path d="M6.6,11.6 L20.3,11.6" stroke="{PAPER}" stroke-width="1.3" stroke-linecap="round" opacity="0.6"/>')
    out.append('</g>')
    return svg(24, 24, "".join(out), defs)


def vol_track():
    """126x18 volume track: a wedge growing towards the loud end."""
    defs = hgrad("g", [(0, GRASS), (0.55, SUN), (1, TANGERINE)])
    wedge = "M4.5,11.2 Q3,11.6 3,13 Q3,14.5 4.5,14.5 L121.5,14.5 Q123,14.5 123,13 L123,4.6 Q123,2.9 121.3,3.2 Z"
    shine = "M8,12.2 L120,5.2 L120,7.0 L8,12.9 Z"
    body = (f'<path d="{wedge}" transform="translate(0,1.5)" fill="{INK}" opacity="0.25"/>'
            f'<path d="{wedge}" fill="url(#g)" stroke="{INK}" stroke-width="2" stroke-linejoin="round"/>'
            f'<path d="{shine}" fill="{PAPER}" opacity="0.45"/>')
    return svg(126, 18, body, defs)


def vol_thumb():
    """14x18 slider thumb: a small sky knob with a grip."""
    defs = vgrad("g", [(0, lighter(SKY, 0.3)), (1, darker(SKY, 0.1))])
    body = (f'<rect x="2" y="2.5" width="10" height="15" rx="4" fill="{INK}" opacity="0.3"/>'
            f'<rect x="2" y="1" width="10" height="15" rx="4" fill="url(#g)" stroke="{INK}" stroke-width="2"/>'
            f'<rect x="4" y="3" width="6" height="3" rx="1.5" fill="{PAPER}" opacity="0.5"/>'
            + "".join(f'<rect x="4.5" y="{y}" width="5" height="1.2" rx="0.6" fill="{darker(SKY, 0.45)}"/>' for y in (8, 10.5)))
    return svg(14, 18, body, defs)


HINT_W, HINT_H = 229, 131


def hint(right, up):
    """Bubble hint art: a rounded paper box and a trail of three circles running
    to the corner nearest the control (lower left for the up-right bubble).
    The box keeps the text area of 8-pixel margins with 48 pixels free on the
    trail side; the drop shadow always falls downwards."""
    bx0, bx1 = 3, HINT_W - 3
    by0, by1 = (2, 88) if up else (40, 126)
    circles = [(29, 100.5, 10), (15, 116.5, 6.8), (6, 125.5, 4.2)]  # up-right, measured from the lower left
    # The down bubbles mirror the trail top to bottom, one pixel higher so the
    # smallest circle keeps clear of the picture's edge.
    placed = [(cx if right else HINT_W - cx, cy if up else HINT_H - cy - 1, r) for cx, cy, r in circles]
    defs = blur_filter("sh", 1.3) + vgrad("paper", [(0, PAPER), (0.55, PAPER), (1, CREAM)])
    shapes = [f'<rect x="{bx0 + 1}" y="{by0 + 1}" width="{bx1 - bx0 - 2}" height="{by1 - by0 - 2}" rx="13"/>']
    shapes += [f'<circle cx="{x}" cy="{y}" r="{r - 1}"/>' for x, y, r in placed]
    shadow = f'<g transform="translate(0,2.5)" fill="{INK}" opacity="0.38" filter="url(#sh)">{"".join(shapes)}</g>'
    paint = f'<g fill="url(#paper)" stroke="{INK}" stroke-width="2">{"".join(shapes)}</g>'
    return svg(HINT_W, HINT_H, shadow + paint, defs)


def sources():
    """(name, kind, svg text) for every picture of this set."""
    out = [("dialog", "jpg", dialog()), ("grpBlue", "png", grp_blue()),
           ("volTrack", "png", vol_track()), ("volThumb", "png", vol_thumb())]
    for i, (hover, down) in enumerate(STATES):
        out.append((f"btnGreen{i}", "png", pill(124, 36, GRASS, GRASS_D, hover, down)))
        out.append((f"btnRed{i}", "png", pill(120, 36, TOMATO, TOMATO_D, hover, down)))
        out.append((f"chk{i}", "png", check(hover, down)))
        out.append((f"opt{i}", "png", option(hover, down)))
        out.append((f"exp{i}", "png", expand(hover, down)))
        out.append((f"btnPath{i}", "png", folder(hover, down)))
    for name, right, up in (("hint_ur", True, True), ("hint_ul", False, True),
                            ("hint_dr", True, False), ("hint_dl", False, False)):
        out.append((name, "hint", hint(right, up)))
    return out
