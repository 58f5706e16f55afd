#include "painter/StretchU.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <utility>
#include <vector>

#include "base/ErrorsU.h"

namespace tw {
namespace {

// Weights per axis are fixed point with 12 fraction bits and sum to exactly
// One, so a flat area comes out exactly flat, and the product of both axes
// (24 bits) times 255 still fits in 32 bits with the rounding half added.
constexpr int WeightBits = 12;
constexpr uint32_t One = 1u << WeightBits;

enum class TKind { Copy, Shrink, Enlarge };

// The source pixels each destination index along one axis draws on: source
// indices First[i] .. First[i] + Count[i] - 1 with the weights from
// Weights[Offset[i]].
struct TTaps {
  std::vector<int> First;
  std::vector<int> Count;
  std::vector<size_t> Offset;
  std::vector<uint32_t> Weights;
  int Low = 0;
  int High = 0;

  void Add(int first, const uint32_t* weights, int count) {
    First.push_back(first);
    Count.push_back(count);
    Offset.push_back(Weights.size());
    Weights.insert(Weights.end(), weights, weights + count);
  }
};

TKind KindOf(double scale) {
  if (IsCopyScale(scale)) return TKind::Copy;
  return scale < 1 ? TKind::Shrink : TKind::Enlarge;
}

// The source pixel at or before position v (which may lie anywhere), kept
// inside the picture.
int ClampedIndex(double v, int n) {
  if (!(v > 0)) return 0;
  if (v >= n - 1) return n - 1;
  return std::clamp(int(std::floor(v)), 0, n - 1);
}

void AddCopyTap(TTaps& taps, int d, int n, double inv) {
  const double s = std::clamp(d * inv, -1.0, double(n));
  taps.Add(std::clamp(Nearest(s), 0, n - 1), &One, 1);
}

void AddShrinkTaps(TTaps& taps, int d, int n, double inv, std::vector<double>& cover,
                   std::vector<uint32_t>& weights) {
  const double a = std::clamp(d * inv, 0.0, double(n));
  const double b = std::clamp((double(d) + 1) * inv, 0.0, double(n));
  if (!(b > a)) {
    taps.Add(a >= n ? n - 1 : 0, &One, 1);
    return;
  }
  const int first = std::min(int(std::floor(a)), n - 1);
  const int last = std::clamp(int(std::ceil(b)), first + 1, n);
  const int count = last - first;
  cover.resize(size_t(count));
  weights.resize(size_t(count));
  for (int i = 0; i < count; ++i) {
    const double lo = std::max(a, double(first + i));
    const double hi = std::min(b, double(first + i + 1));
    cover[size_t(i)] = std::max(0.0, hi - lo) / (b - a);
  }
  // Each weight is the step between rounded running totals of the coverage:
  // the weights are never negative and sum to exactly One.
  double total = 0;
  uint32_t previous = 0;
  for (int i = 0; i < count; ++i) {
    total += cover[size_t(i)];
    const uint32_t reached =
        i == count - 1 ? One : std::min(One, uint32_t(std::lround(total * One)));
    weights[size_t(i)] = reached - std::min(previous, reached);
    previous = std::max(previous, reached);
  }
  taps.Add(first, weights.data(), count);
}

void AddEnlargeTaps(TTaps& taps, int d, int n, double inv) {
  const double s = (double(d) + 0.5) * inv - 0.5;
  const int i0 = ClampedIndex(s, n);
  if (i0 >= n - 1 || !(s > 0)) {
    taps.Add(i0, &One, 1);
    return;
  }
  const uint32_t w1 = std::min(uint32_t(std::lround((s - i0) * One)), One);
  const uint32_t w[2] = {One - w1, w1};
  taps.Add(i0, w, 2);
}

TTaps BuildTaps(int d0, int d1, int n, double scale, TKind kind) {
  const double inv = 1.0 / scale;
  TTaps taps;
  const size_t count = size_t(d1 - d0);
  taps.First.reserve(count);
  taps.Count.reserve(count);
  taps.Offset.reserve(count);
  std::vector<double> cover;
  std::vector<uint32_t> weights;
  for (int d = d0; d < d1; ++d) {
    switch (kind) {
      case TKind::Copy:
        AddCopyTap(taps, d, n, inv);
        break;
      case TKind::Shrink:
        AddShrinkTaps(taps, d, n, inv, cover, weights);
        break;
      case TKind::Enlarge:
        AddEnlargeTaps(taps, d, n, inv);
        break;
    }
  }
  taps.Low = n;
  taps.High = 0;
  for (size_t i = 0; i < count; ++i) {
    taps.Low = std::min(taps.Low, taps.First[i]);
    taps.High = std::max(taps.High, taps.First[i] + taps.Count[i]);
  }
  return taps;
}

void CopyRows(const TRaster24& source, const TTaps& cols, const TTaps& rows, int width,
              int height, uint8_t* out, size_t outStride) {
  bool contiguous = true;
  for (int i = 1; i < width && contiguous; ++i)
    contiguous = cols.First[size_t(i)] == cols.First[0] + i;
  for (int y = 0; y < height; ++y) {
    const uint8_t* src = source.Row(rows.First[size_t(y)]);
    uint8_t* dst = out + size_t(y) * outStride;
    if (contiguous) {
      std::memcpy(dst, src + 3 * size_t(cols.First[0]), 3 * size_t(width));
      continue;
    }
    for (int x = 0; x < width; ++x) {
      const uint8_t* p = src + 3 * size_t(cols.First[size_t(x)]);
      dst[3 * x] = p[0];
      dst[3 * x + 1] = p[1];
      dst[3 * x + 2] = p[2];
    }
  }
}

// For each destination row: first the source rows it draws on are combined
// over the needed columns, then each destination pixel combines its columns.
void FilterRows(const TRaster24& source, const TTaps& cols, const TTaps& rows, int width,
                int height, uint8_t* out, size_t outStride) {
  const int low = cols.Low;
  const size_t span = 3 * size_t(cols.High - cols.Low);
  std::vector<uint32_t> line(span);
  for (int y = 0; y < height; ++y) {
    std::fill(line.begin(), line.end(), 0u);
    const uint32_t* wy = rows.Weights.data() + rows.Offset[size_t(y)];
    for (int j = 0; j < rows.Count[size_t(y)]; ++j) {
      const uint8_t* src = source.Row(rows.First[size_t(y)] + j) + 3 * size_t(low);
      const uint32_t w = wy[j];
      uint32_t* acc = line.data();
      for (size_t k = 0; k < span; ++k) acc[k] += w * src[k];
    }
    uint8_t* dst = out + size_t(y) * outStride;
    for (int x = 0; x < width; ++x) {
      const uint32_t* wx = cols.Weights.data() + cols.Offset[size_t(x)];
      const uint32_t* acc = line.data() + 3 * size_t(cols.First[size_t(x)] - low);
      uint32_t r = 1u << (2 * WeightBits - 1), g = r, b = r;
      for (int i = 0; i < cols.Count[size_t(x)]; ++i, acc += 3) {
        r += wx[i] * acc[0];
        g += wx[i] * acc[1];
        b += wx[i] * acc[2];
      }
      dst[3 * x] = uint8_t(r >> (2 * WeightBits));
      dst[3 * x + 1] = uint8_t(g >> (2 * WeightBits));
      dst[3 * x + 2] = uint8_t(b >> (2 * WeightBits));
    }
  }
}

}  // namespace

bool IsCopyScale(double scale) { return std::fabs(scale - 1.0) < 0.01; }

void StretchToScreen(const TRaster24& source, double scale, const TRect& dest, uint8_t* out,
                     size_t outStride) {
  if (source.IsEmpty()) throw EError("There is no picture to show.");
  if (!(scale > 0) || !std::isfinite(scale))
    throw EError("The picture cannot be shown at a scale of " + std::to_string(scale) + ".");
  if (dest.IsEmpty()) return;
  if (!out) throw EError("The picture cannot be shown: no pixels to draw into.");
  const TKind kind = KindOf(scale);
  const TTaps cols = BuildTaps(dest.Left, dest.Right, source.Width(), scale, kind);
  const TTaps rows = BuildTaps(dest.Top, dest.Bottom, source.Height(), scale, kind);
  if (kind == TKind::Copy)
    CopyRows(source, cols, rows, dest.Width(), dest.Height(), out, outStride);
  else
    FilterRows(source, cols, rows, dest.Width(), dest.Height(), out, outStride);
}

TRect AffectedScreenRect(const TRect& pictureRect, double scale) {
  if (pictureRect.IsEmpty() || !(scale > 0) || !std::isfinite(scale)) return {};
  const TRect& r = pictureRect;
  const TRect scaled{Nearest(r.Left * scale), Nearest(r.Top * scale), Nearest(r.Right * scale),
                     Nearest(r.Bottom * scale)};
  if (scale == 1.0) return r;
  // Screen pixels reach, through the mapping of StretchToScreen, the picture
  // interval [lo, hi) when their position lies in [Low(lo), High(hi)); the
  // bounds are widened by rounding outwards, never narrowed.
  const double slack = 1e-9;
  auto span = [&](int lo, int hi) -> std::pair<double, double> {
    switch (KindOf(scale)) {
      case TKind::Copy:
        return {std::floor((lo - 0.5) * scale - slack),
                std::floor((hi - 0.5) * scale + slack) + 1};
      case TKind::Shrink:
        return {std::floor(lo * scale - slack), std::ceil(hi * scale + slack)};
      case TKind::Enlarge:
        break;
    }
    return {std::floor((lo - 0.5) * scale - 0.5 - slack),
            std::ceil((hi + 0.5) * scale - 0.5 + slack)};
  };
  auto toInt = [](double v) {
    return int(std::clamp(v, double(std::numeric_limits<int>::min() / 2),
                          double(std::numeric_limits<int>::max() / 2)));
  };
  const auto [x0, x1] = span(r.Left, r.Right);
  const auto [y0, y1] = span(r.Top, r.Bottom);
  return UnionRect(scaled, TRect{toInt(x0), toInt(y0), toInt(x1), toInt(y1)});
}

TRaster24 StretchToScreen(const TRaster24& source, double scale, const TRect& dest) {
  TRaster24 out(dest.Width(), dest.Height());
  StretchToScreen(source, scale, dest, out.Data(), out.Stride());
  return out;
}

}  // namespace tw
