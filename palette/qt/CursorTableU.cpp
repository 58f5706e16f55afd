#include "palette/qt/CursorTableU.h"

#include <QPixmap>
#include <array>
#include <map>
#include <optional>

#include "base/ErrorsU.h"
#include "pictures/qt/ArtResourceU.h"

namespace tw {
namespace {

struct TRegistry {
  std::map<int32_t, QCursor> Table;
  std::array<std::optional<QCursor>, 3> Program;
};

// Deliberately never destroyed: see the header.
TRegistry& Registry() {
  static TRegistry* registry = new TRegistry;
  return *registry;
}

size_t Slot(TProgramCursor Which) { return size_t(Which); }

}  // namespace

void SetCursorTable(int32_t Id, const QCursor& Cursor) { Registry().Table[Id] = Cursor; }

QCursor CursorFromTable(int32_t Id) {
  const auto& table = Registry().Table;
  const auto found = table.find(Id);
  return found == table.end() ? QCursor(Qt::ArrowCursor) : found->second;
}

bool HasCursorInTable(int32_t Id) { return Registry().Table.count(Id) > 0; }

void ClearCursorTable() { Registry().Table.clear(); }

QString ProgramCursorName(TProgramCursor Which) {
  switch (Which) {
    case TProgramCursor::Hand:
      return QStringLiteral("qc_hand");
    case TProgramCursor::Arrow:
      return QStringLiteral("qc_arrow");
    case TProgramCursor::No:
      break;
  }
  return QStringLiteral("qc_no");
}

QPoint ProgramCursorHotSpot(TProgramCursor Which) {
  switch (Which) {
    case TProgramCursor::Hand:
      return {13, 2};
    case TProgramCursor::Arrow:
      return {2, 2};
    case TProgramCursor::No:
      break;
  }
  return {15, 15};
}

void InstallProgramCursors(const TPictureSource& Source) {
  const TPictureSource load =
      Source ? Source : TPictureSource([](const QString& Name) { return PngResource(Name); });
  constexpr std::array<TProgramCursor, 3> all = {TProgramCursor::Hand, TProgramCursor::Arrow,
                                                 TProgramCursor::No};
  // All pictures first, so a missing one changes nothing.
  std::array<QImage, 3> pictures;
  for (TProgramCursor which : all) pictures[Slot(which)] = load(ProgramCursorName(which));
  for (TProgramCursor which : all) InstallProgramCursor(which, pictures[Slot(which)]);
}

void InstallProgramCursor(TProgramCursor Which, const QImage& Picture) {
  if (Picture.isNull())
    throw EError("The pointer picture \"" + ProgramCursorName(Which).toStdString() +
                 "\" is empty.");
  const QPoint hot = ProgramCursorHotSpot(Which);
  Registry().Program[Slot(Which)] = QCursor(QPixmap::fromImage(Picture), hot.x(), hot.y());
}

QCursor ProgramCursor(TProgramCursor Which) {
  const auto& installed = Registry().Program[Slot(Which)];
  if (installed) return *installed;
  switch (Which) {
    case TProgramCursor::Hand:
      return QCursor(Qt::PointingHandCursor);
    case TProgramCursor::Arrow:
      return QCursor(Qt::ArrowCursor);
    case TProgramCursor::No:
      break;
  }
  return QCursor(Qt::ForbiddenCursor);
}

void UninstallProgramCursors() {
  for (auto& cursor : Registry().Program) cursor.reset();
}

}  // namespace tw
