// The program's pointer registry: the cursor table that the colour cursors
// register themselves in under their numbers (the main window's painter and
// trays look them up there), and the program's own hand, arrow and
// not-allowed pointers, which stand in for the desktop's wherever those
// shapes show, whether or not the tool pointers are pictures.
//
// The registry lives as long as the program: its pointers hold pixmaps,
// which must not be destroyed after the application object, so the table is
// never torn down at exit (ClearCursorTable empties it on purpose).
#pragma once

#include <QCursor>
#include <QImage>
#include <QPoint>
#include <QString>
#include <cstdint>
#include <functional>

namespace tw {

// Where pointer pictures come from: the built-in artwork (PngResource) in
// the program, pictures made in code in the tests. Throws when the name is
// missing.
using TPictureSource = std::function<QImage(const QString& Name)>;

// Puts Cursor into the table under Id, replacing what was there.
void SetCursorTable(int32_t Id, const QCursor& Cursor);
// The pointer registered under Id; the ordinary arrow when there is none.
QCursor CursorFromTable(int32_t Id);
bool HasCursorInTable(int32_t Id);
void ClearCursorTable();

enum class TProgramCursor { Hand, Arrow, No };

// The resource name ("qc_hand", "qc_arrow", "qc_no") and hot spot of one of
// the program's own pointers (32 x 32 pictures with alpha).
QString ProgramCursorName(TProgramCursor Which);
QPoint ProgramCursorHotSpot(TProgramCursor Which);

// Loads all three program pointers from Source (the built-in artwork by
// default); a missing picture throws EError and leaves the pointers
// installed before as they were.
void InstallProgramCursors(const TPictureSource& Source = TPictureSource());
// Installs one program pointer from a picture with alpha, at its hot spot.
void InstallProgramCursor(TProgramCursor Which, const QImage& Picture);
// The installed program pointer; the desktop's pointer of that shape until
// one is installed.
QCursor ProgramCursor(TProgramCursor Which);
// Back to the desktop's pointers (for tests that install their own).
void UninstallProgramCursors();

}  // namespace tw
