"""Rewrites a coloured clip-art SVG into black line art for a colouring page.

Responsible for everything done on the vector side: reading each shape's
effective fill, stroke and opacity (inherited through groups, gradients
reduced to their average colour), deciding per shape what it becomes, and
setting the page's viewBox and pixel size so the renderer draws exactly the
wanted area at the wanted scale. Outline widths are given in output pixels and
converted back to user units through each shape's transform, so every outline
has the same thickness in the finished picture.
"""

import math
import re
import xml.etree.ElementTree as ET

SVG_NS = "http://www.w3.org/2000/svg"
XLINK_NS = "http://www.w3.org/1999/xlink"
ET.register_namespace("", SVG_NS)
ET.register_namespace("xlink", XLINK_NS)
for _prefix, _uri in (
        ("sodipodi", "http://sodipodi.sourceforge.net/DTD/sodipodi-0.dtd"),
        ("inkscape", "http://www.inkscape.org/namespaces/inkscape"),
        ("rdf", "http://www.w3.org/1999/02/22-rdf-syntax-ns#"),
        ("cc", "http://creativecommons.org/ns#"),
        ("dc", "http://purl.org/dc/elements/1.1/")):
    ET.register_namespace(_prefix, _uri)

SHAPES = {"path", "rect", "circle", "ellipse", "polygon", "polyline", "line"}
TEXTS = {"text", "flowRoot", "textPath", "tspan"}
# Subtrees that are never drawn directly; their colours mean something else.
UNTOUCHED = {"clipPath", "mask", "pattern", "marker", "linearGradient",
             "radialGradient", "filter", "metadata", "style"}
INHERITED = {"fill", "stroke", "stroke-width", "fill-opacity", "stroke-opacity",
             "color", "fill-rule", "visibility"}
PAINT_PROPS = {"fill", "stroke", "stroke-width", "opacity", "fill-opacity",
               "stroke-opacity", "filter", "stroke-dasharray",
               "stroke-dashoffset", "stroke-linejoin", "stroke-linecap",
               "stroke-miterlimit"}

# Below this combined opacity a shape counts as a shadow or glaze and goes.
MIN_ALPHA = 0.55
NAMED = {
    "black": (0, 0, 0), "white": (255, 255, 255), "red": (255, 0, 0),
    "green": (0, 128, 0), "blue": (0, 0, 255), "yellow": (255, 255, 0),
    "gray": (128, 128, 128), "grey": (128, 128, 128), "orange": (255, 165, 0),
    "brown": (165, 42, 42), "pink": (255, 192, 203), "purple": (128, 0, 128),
    "navy": (0, 0, 128), "maroon": (128, 0, 0), "darkgreen": (0, 100, 0),
    "lime": (0, 255, 0), "silver": (192, 192, 192), "cyan": (0, 255, 255),
    "magenta": (255, 0, 255), "darkred": (139, 0, 0), "gold": (255, 215, 0),
}
UNITS = {"px": 1.0, "": 1.0, "pt": 96 / 72, "pc": 16.0, "mm": 96 / 25.4,
         "cm": 96 / 2.54, "in": 96.0}


def Local(Tag):
    return Tag.rsplit("}", 1)[-1] if isinstance(Tag, str) else ""


def ParseLength(Text, Default=None):
    Match = re.match(r"\s*([-+]?[0-9]*\.?[0-9]+(?:[eE][-+]?[0-9]+)?)\s*([a-z%]*)",
                     Text or "")
    if not Match or Match.group(2) not in UNITS:
        return Default
    return float(Match.group(1)) * UNITS[Match.group(2)]


def ParseStyle(Text):
    Props = {}
    for Item in (Text or "").split(";"):
        if ":" in Item:
            Key, Value = Item.split(":", 1)
            Props[Key.strip()] = Value.strip()
    return Props


def OwnProps(Element):
    """Presentation attributes overridden by the style attribute."""
    Props = {Key: Value for Key, Value in Element.attrib.items()
             if Key in PAINT_PROPS or Key in INHERITED or Key == "display"}
    Props.update(ParseStyle(Element.get("style")))
    return Props


def TransformScale(Text):
    """Length scale factor of a transform list (square root of |det|)."""
    Scale = 1.0
    for Name, Args in re.findall(r"(\w+)\s*\(([^)]*)\)", Text or ""):
        Values = [float(V) for V in re.findall(
            r"[-+]?[0-9]*\.?[0-9]+(?:[eE][-+]?[0-9]+)?", Args)]
        if Name == "matrix" and len(Values) == 6:
            Scale *= math.sqrt(abs(Values[0] * Values[3] - Values[1] * Values[2]))
        elif Name == "scale" and Values:
            Scale *= math.sqrt(abs(Values[0] * (Values[1] if len(Values) > 1
                                                else Values[0])))
    return Scale


def ParseColour(Text):
    """Returns (r, g, b) 0..255, None for no paint, "url(#id)" kept as text."""
    Text = (Text or "").strip()
    if Text in ("", "none", "transparent"):
        return None
    if Text.startswith("url("):
        return Text
    if Text.startswith("#"):
        Hex = Text[1:]
        if len(Hex) == 3:
            Hex = "".join(C * 2 for C in Hex)
        try:
            return tuple(int(Hex[I:I + 2], 16) for I in (0, 2, 4))
        except ValueError:
            return (128, 128, 128)
    Match = re.match(r"rgb\(\s*([^,]+),\s*([^,]+),\s*([^)]+)\)", Text)
    if Match:
        Parts = []
        for Part in Match.groups():
            Part = Part.strip()
            Value = float(Part[:-1]) * 2.55 if Part.endswith("%") else float(Part)
            Parts.append(max(0, min(255, int(round(Value)))))
        return tuple(Parts)
    return NAMED.get(Text.lower(), (128, 128, 128))


def IsDark(Colour):
    Red, Green, Blue = Colour
    return 0.299 * Red + 0.587 * Green + 0.114 * Blue < 60 and max(Colour) < 100


def IsVeryLight(Colour):
    Red, Green, Blue = Colour
    return 0.299 * Red + 0.587 * Green + 0.114 * Blue > 215


class TRewriter:
    """One SVG document and the rules that turn it into line art."""

    def __init__(self, Path):
        self.Tree = ET.parse(Path)
        self.Root = self.Tree.getroot()
        self.ById = {E.get("id"): E for E in self.Root.iter() if E.get("id")}

    def PageBox(self):
        """The page in user units: (x, y, width, height)."""
        Box = self.Root.get("viewBox")
        if Box:
            Values = [float(V) for V in re.split(r"[\s,]+", Box.strip())]
            if len(Values) == 4 and Values[2] > 0 and Values[3] > 0:
                return tuple(Values)
        Width = ParseLength(self.Root.get("width"), 500.0)
        Height = ParseLength(self.Root.get("height"), 500.0)
        return (0.0, 0.0, Width, Height)

    def GradientColour(self, Id, Depth=0):
        """Average colour and opacity of a gradient's stops, or None."""
        Gradient = self.ById.get(Id)
        if Gradient is None or Depth > 8:
            return None
        Stops = [S for S in Gradient if Local(S.tag) == "stop"]
        if not Stops:
            Link = Gradient.get("{%s}href" % XLINK_NS) or Gradient.get("href")
            if Link and Link.startswith("#"):
                return self.GradientColour(Link[1:], Depth + 1)
            return None
        Sum = [0.0, 0.0, 0.0]
        Alpha = 0.0
        for Stop in Stops:
            Props = OwnProps(Stop)
            Props.update({K: V for K, V in Stop.attrib.items()
                          if K in ("stop-color", "stop-opacity")})
            Props.update({K: V for K, V in ParseStyle(Stop.get("style")).items()
                          if K in ("stop-color", "stop-opacity")})
            Colour = ParseColour(Props.get("stop-color", "black"))
            if not isinstance(Colour, tuple):
                Colour = (0, 0, 0)
            for I in range(3):
                Sum[I] += Colour[I]
            Alpha += ParseLength(Props.get("stop-opacity", "1"), 1.0)
        Count = len(Stops)
        return tuple(int(V / Count) for V in Sum), Alpha / Count

    def Paint(self, Text, Props):
        """Resolves a paint to (colour or None, extra opacity)."""
        if (Text or "").strip() == "currentColor":
            Text = Props.get("color", "black")
        Colour = ParseColour(Text)
        if isinstance(Colour, str):
            Match = re.match(r"url\(\s*#([^)\s]+)\s*\)", Colour)
            Found = self.GradientColour(Match.group(1)) if Match else None
            if Found is None:
                return (200, 200, 200), 1.0
            return Found
        return Colour, 1.0

    def Rewrite(self, Method, PixelsPerUnit, OutlinePx, LinePx):
        """Turns every drawn shape into black and white for Method."""
        self.Method = Method
        self.PixelsPerUnit = PixelsPerUnit
        self.OutlinePx = OutlinePx
        self.LinePx = LinePx
        Base = {"fill": "black", "stroke": "none", "stroke-width": "1",
                "fill-opacity": "1", "stroke-opacity": "1", "color": "black"}
        self.Walk(self.Root, Base, 1.0, 1.0)

    def Walk(self, Element, Inherited, Opacity, Scale):
        for Child in list(Element):
            Name = Local(Child.tag)
            if Name in UNTOUCHED or not isinstance(Child.tag, str):
                continue
            if Name in TEXTS or Name == "image":
                Element.remove(Child)
                continue
            Props = OwnProps(Child)
            if Props.get("display") == "none":
                continue
            Computed = dict(Inherited)
            Computed.update({K: V for K, V in Props.items() if K in INHERITED})
            ChildOpacity = Opacity * (ParseLength(Props.get("opacity"), 1.0))
            ChildScale = Scale * TransformScale(Child.get("transform"))
            if ChildOpacity < MIN_ALPHA:
                Element.remove(Child)
                continue
            if Name in SHAPES:
                if not self.Shape(Child, Computed, ChildOpacity, ChildScale):
                    Element.remove(Child)
            else:
                for Key in ("opacity", "filter"):
                    Child.attrib.pop(Key, None)
                Style = ParseStyle(Child.get("style"))
                for Key in ("opacity", "filter"):
                    Style.pop(Key, None)
                self.SetStyle(Child, Style)
                self.Walk(Child, Computed, ChildOpacity, ChildScale)

    def SetStyle(self, Element, Style):
        if Style:
            Element.set("style", ";".join("%s:%s" % KV for KV in Style.items()))
        else:
            Element.attrib.pop("style", None)

    def Shape(self, Element, Props, Opacity, Scale):
        """Restyles one shape; False when it should be removed."""
        Fill, FillAlpha = self.Paint(Props.get("fill"), Props)
        Stroke, StrokeAlpha = self.Paint(Props.get("stroke"), Props)
        FillAlpha *= Opacity * ParseLength(Props.get("fill-opacity"), 1.0)
        StrokeAlpha *= Opacity * ParseLength(Props.get("stroke-opacity"), 1.0)
        UnitsToPx = self.PixelsPerUnit * Scale
        WidthPx = ParseLength(Props.get("stroke-width"), 1.0) * UnitsToPx
        HasFill = Fill is not None and FillAlpha >= MIN_ALPHA
        HasStroke = (Stroke is not None and StrokeAlpha >= MIN_ALPHA
                     and WidthPx > 0)
        NewFill, NewStroke, NewWidth = "none", "none", 0.0
        if self.Method == "vec":
            if HasFill and IsDark(Fill):
                NewFill = "#000000"
                if HasStroke and IsDark(Stroke):
                    NewStroke, NewWidth = "#000000", WidthPx
            elif HasFill:
                NewFill, NewStroke = "#ffffff", "#000000"
                DarkWidth = WidthPx if HasStroke and IsDark(Stroke) else 0.0
                NewWidth = max(DarkWidth, self.OutlinePx)
            elif HasStroke and not IsVeryLight(Stroke):
                NewStroke, NewWidth = "#000000", max(WidthPx, self.LinePx)
            else:
                return False
        elif self.Method == "thr":
            if HasFill:
                NewFill = "#000000" if IsDark(Fill) else "#ffffff"
            if HasStroke and IsDark(Stroke):
                NewStroke, NewWidth = "#000000", max(WidthPx, self.LinePx)
            if NewFill == "none" and NewStroke == "none":
                return False
        else:
            if not HasFill and not HasStroke:
                return False
            return self.KeepColours(Element, Props, Fill if HasFill else None,
                                    Stroke if HasStroke else None)
        for Key in PAINT_PROPS:
            Element.attrib.pop(Key, None)
        Style = {K: V for K, V in ParseStyle(Element.get("style")).items()
                 if K not in PAINT_PROPS}
        Style["fill"] = NewFill
        if "fill-rule" in Props:
            Style["fill-rule"] = Props["fill-rule"]
        Style["stroke"] = NewStroke
        if NewStroke != "none":
            Style["stroke-width"] = "%.4f" % (NewWidth / UnitsToPx)
            Style["stroke-linejoin"] = "round"
            Style["stroke-linecap"] = "round"
        self.SetStyle(Element, Style)
        return True

    def KeepColours(self, Element, Props, Fill, Stroke):
        """Edge tracing keeps the colours but makes every paint opaque."""
        for Key in PAINT_PROPS:
            Element.attrib.pop(Key, None)
        Style = {K: V for K, V in ParseStyle(Element.get("style")).items()
                 if K not in PAINT_PROPS}
        Style["fill"] = "#%02x%02x%02x" % Fill if Fill else "none"
        if "fill-rule" in Props:
            Style["fill-rule"] = Props["fill-rule"]
        Style["stroke"] = "#%02x%02x%02x" % Stroke if Stroke else "none"
        if Stroke:
            Style["stroke-width"] = Props.get("stroke-width", "1")
        self.SetStyle(Element, Style)
        return True

    def SetPage(self, Box, WidthPx, HeightPx):
        """Shows exactly Box (user units) on a WidthPx x HeightPx page."""
        self.Root.set("viewBox", "%.4f %.4f %.4f %.4f" % Box)
        self.Root.set("width", "%d" % WidthPx)
        self.Root.set("height", "%d" % HeightPx)
        self.Root.set("preserveAspectRatio", "none")

    def Write(self, Path):
        self.Tree.write(Path, encoding="utf-8", xml_declaration=True)
