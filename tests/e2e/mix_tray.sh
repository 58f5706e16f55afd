#!/bin/bash
# The dropper and the mix tray: two drops of blue into an empty mix well
# leave blue there, three drops of yellow onto it mix the two, the mixed well
# becomes the paint and fills the belly in the mixed colour.
. "$(dirname "$0")/lib.sh" || exit 1
e2e_begin
start_xvfb 400
start_tintwell

blue=$(default_colour 0 11)
yellow=$(default_colour 0 4)

# The expected mix, worked out here from the rule the program follows rather
# than taken from its output: both colours go to hue/lightness/saturation on
# a 0..240 scale; the hue circle is warped so that red..yellow (0..40) and
# yellow..blue (40..160) get 80 units each; three drops of six make a share
# of w = 1/2 of the yellow, blended linearly in H (the short way round), L
# and S. Hues further apart than a quarter circle (warped) make mud: the
# saturation loses (g - 0.5) / 0.5 of itself at an even mix, g being the
# warped distance over half the circle. The warped hue is unwarped and the
# result goes back to RGB with the usual HLS formula. Floating point here;
# the program rounds on integers, hence the tolerance of the probe.
expected=$(awk -v a="$blue" -v b="$yellow" -v w=0.5 '
  function max3(x, y, z) { return x > y ? (x > z ? x : z) : (y > z ? y : z) }
  function min3(x, y, z) { return x < y ? (x < z ? x : z) : (y < z ? y : z) }
  function hls(c, out,   r, g, b, mx, mn, d) {
    split(c, v, ","); r = v[1]; g = v[2]; b = v[3]
    mx = max3(r, g, b); mn = min3(r, g, b); d = mx - mn
    out["L"] = (mx + mn) * 240 / 510
    out["S"] = out["L"] <= 120 ? d * 240 / (mx + mn) : d * 240 / (510 - mx - mn)
    if (r == mx) h = 40 * (g - b) / d
    else if (g == mx) h = 80 + 40 * (b - r) / d
    else h = 160 + 40 * (r - g) / d
    out["H"] = h < 0 ? h + 240 : h
  }
  function warp(h) { return h <= 40 ? h * 2 : (h <= 160 ? 80 + (h - 40) * 80 / 120 : h) }
  function unwarp(h) { return h <= 80 ? h / 2 : (h <= 160 ? 40 + (h - 80) * 120 / 80 : h) }
  function channel(p, q, t) {
    if (t < 0) t += 1; if (t > 1) t -= 1
    if (t < 1 / 6) return p + (q - p) * 6 * t
    if (t < 1 / 2) return q
    if (t < 2 / 3) return p + (q - p) * (2 / 3 - t) * 6
    return p
  }
  BEGIN {
    hls(a, A); hls(b, B)
    ha = warp(A["H"]); hb = warp(B["H"])
    d = hb - ha; if (d > 120) d -= 240; if (d < -120) d += 240
    H = ha + d * w; L = A["L"] + (B["L"] - A["L"]) * w; S = A["S"] + (B["S"] - A["S"]) * w
    g = (d < 0 ? -d : d) / 120
    if (g > 0.5) { k = (g - 0.5) / 0.5; m = 2 * w; if (m > 1) m = 2 - m; S = (1 - m * k) * S }
    H = unwarp(H) / 240; L /= 240; S /= 240
    q = L < 0.5 ? L * (1 + S) : L + S - L * S; p = 2 * L - q
    printf "%d,%d,%d\n", 255 * channel(p, q, H + 1 / 3) + 0.5, 255 * channel(p, q, H) + 0.5,
      255 * channel(p, q, H - 1 / 3) + 0.5
  }')
e2e_log "blue $blue + yellow $yellow, expected mix $expected"

# The dropper: two drops of blue into the empty first mix well.
# shellcheck disable=SC2046
click_at $(tool_point 3)
# shellcheck disable=SC2046
click_at $(well_point 11)
# shellcheck disable=SC2046
click_at $(well_point 11)
# shellcheck disable=SC2086
click_at $MIX_WELL0
shot
expect_pixel "blue in the mix well" $MIX_WELL0 "$blue" 2
# Three drops of yellow onto it.
for _ in 1 2 3; do
  # shellcheck disable=SC2046
  click_at $(well_point 4)
done
# shellcheck disable=SC2086
click_at $MIX_WELL0
shot
expect_pixel "the mix in the mix well" $MIX_WELL0 "$expected" 6

# The fill tool with the mixed well as its paint fills the belly.
# shellcheck disable=SC2046
click_at $(tool_point 0)
# shellcheck disable=SC2086
click_at $MIX_WELL0
# shellcheck disable=SC2086
click_at $BELLY
shot
mixed=$(probe_pixel $MIX_WELL0)
expect_pixel "the belly in the mixed paint" $BELLY "$mixed" 0
expect_pixel "the belly near the expected mix" $BELLY "$expected" 6
e2e_log "mix tray: passed"
