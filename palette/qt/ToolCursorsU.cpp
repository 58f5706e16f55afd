#include "palette/qt/ToolCursorsU.h"

namespace tw {

const std::array<TToolCursorInfo, ToolCursorCount> ToolCursorTable = {{
    {"fill", {4, 60}, {4, 50}, true},
    {"brush", {0, 63}, {2, 62}, true},
    {"mbrush", {0, 63}, {2, 62}, true},
    {"dropper0", {4, 63}, {4, 59}, true},
    {"dropper1", {4, 63}, {4, 59}, true},
    {"dropper2", {4, 63}, {4, 59}, true},
    {"dropper3", {4, 63}, {4, 59}, true},
    {"dropper4", {4, 63}, {4, 59}, true},
    {"dropper5", {4, 63}, {4, 59}, true},
    {"marker", {1, 62}, {}, false},
    {"eraser", {4, 60}, {}, false},
    {"tap", {4, 63}, {}, false},
}};

TToolCursors::TToolCursors(bool UseImgCursors, const TPictureSource& Source) {
  if (UseImgCursors) {
    for (int32_t row = 0; row < ToolCursorCount; ++row) {
      const TToolCursorInfo& info = ToolCursorTable[size_t(row)];
      const QString name = QString::fromLatin1(info.Name);
      auto cursor = std::make_unique<TColorCursor>(row + 1);
      cursor->LoadMask(name + "M", Source);
      cursor->LoadColor(name + "C", Source);
      cursor->SetHotSpot(info.HotSpot);
      cursor->Build();
      if (info.TakesPaint) FColorPoints[size_t(row)] = info.ColorPoint;
      FCursors.push_back(std::move(cursor));
    }
  }
  InstallProgramCursors(Source);
}

TColorCursor* TToolCursors::Cursor(int32_t Id) {
  if (Id < 1 || Id > int32_t(FCursors.size())) return nullptr;
  return FCursors[size_t(Id - 1)].get();
}

QPoint TToolCursors::ColorPoint(int32_t Id) const {
  if (Id < 1 || Id > int32_t(FColorPoints.size())) return {};
  return FColorPoints[size_t(Id - 1)];
}

void TToolCursors::TintOne(int32_t Id, TColor Color) {
  if (TColorCursor* cursor = Cursor(Id)) cursor->Tint(ColorPoint(Id), Color, true);
}

void TToolCursors::TintPaint(TColor Color) {
  TintOne(crFill, Color);
  TintOne(crBrush, Color);
  TintOne(crMBrush, Color);
}

void TToolCursors::TintDropper(int Drops, TColor Color) {
  if (Drops < 1 || Drops > MaxDropperDrops) return;
  TintOne(crDropper0 + Drops, Color);
}

}  // namespace tw
