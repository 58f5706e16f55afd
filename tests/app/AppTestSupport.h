// Stand-ins for the main window's key tests: a target that records the
// commands it is given, a pointer that only stores its position, and key
// events built as the platform would send them.
#pragma once

#include <QKeyEvent>
#include <QPoint>
#include <string>
#include <vector>

#include "app/MainKeysU.h"

namespace tw::test {

class TRecordingTarget : public IMainKeyTarget {
 public:
  std::vector<std::string> Log;

  void CycleTool() override { Log.push_back("CycleTool"); }
  void UndoCommand() override { Log.push_back("Undo"); }
  void RedoCommand() override { Log.push_back("Redo"); }
  void StepPicture(int delta) override { Log.push_back("StepPicture " + std::to_string(delta)); }
  void ChoosePicture() override { Log.push_back("ChoosePicture"); }
  void SetToolSizeEntry(int d) override { Log.push_back("ToolSize " + std::to_string(d)); }
  void PrintCommand() override { Log.push_back("Print"); }
  void SaveCommand() override { Log.push_back("Save"); }
  void ZoomIn() override { Log.push_back("ZoomIn"); }
  void ZoomOut() override { Log.push_back("ZoomOut"); }
  void InfoCommand() override { Log.push_back("Info"); }
  void StepWell(int delta) override { Log.push_back("StepWell " + std::to_string(delta)); }
  void NextMixMode() override { Log.push_back("NextMixMode"); }
  void StepPalette(int delta) override { Log.push_back("StepPalette " + std::to_string(delta)); }
};

// A pointer that moves only where it is told; every position it is set to
// is kept.
class TFakePointer : public IPointer {
 public:
  explicit TFakePointer(QPoint start = {}) : At(start) {}
  QPoint Pos() const override { return At; }
  void SetPos(const QPoint& global) override {
    At = global;
    Moves.push_back(global);
  }

  QPoint At;
  std::vector<QPoint> Moves;
};

inline QKeyEvent KeyEvent(QEvent::Type type, int key, Qt::KeyboardModifiers modifiers = {},
                          quint32 scanCode = 0, bool autoRepeat = false) {
  return QKeyEvent(type, key, modifiers, scanCode, 0, 0, QString(), autoRepeat);
}

inline bool Press(TMainKeys& keys, int key, Qt::KeyboardModifiers modifiers = {},
                  quint32 scanCode = 0, bool autoRepeat = false) {
  return keys.KeyPress(KeyEvent(QEvent::KeyPress, key, modifiers, scanCode, autoRepeat));
}

inline bool Release(TMainKeys& keys, int key, Qt::KeyboardModifiers modifiers = {},
                    quint32 scanCode = 0, bool autoRepeat = false) {
  return keys.KeyRelease(KeyEvent(QEvent::KeyRelease, key, modifiers, scanCode, autoRepeat));
}

}  // namespace tw::test
