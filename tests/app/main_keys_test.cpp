// The main window's key table: every key's command, the modifier rules
// (Ctrl alone for P, S and Z; keypad digits ignored), which Qt key values
// stand for which keys, the physical digit row and US places where the
// platform gives xkb keycodes, and the mix-mode order of the slash key.
#include <gtest/gtest.h>

#include <vector>

#include "app/AppTestSupport.h"

namespace tw::test {
namespace {

struct TKeyRow {
  int Key;
  Qt::KeyboardModifiers Modifiers;
  quint32 ScanCode;
  std::string Command;  // empty: the key does nothing
};

constexpr Qt::KeyboardModifiers None{};
const Qt::KeyboardModifiers Shift = Qt::ShiftModifier;
const Qt::KeyboardModifiers Ctrl = Qt::ControlModifier;
const Qt::KeyboardModifiers Alt = Qt::AltModifier;
const Qt::KeyboardModifiers Keypad = Qt::KeypadModifier;
const Qt::KeyboardModifiers All = Shift | Ctrl | Alt;

// Runs each row on fresh keys and checks the single command it gives, and
// that KeyPress says whether the key had an action.
void CheckRows(const std::vector<TKeyRow>& rows, bool xkbScanCodes) {
  for (const TKeyRow& row : rows) {
    TRecordingTarget target;
    TFakePointer pointer({-10000, -10000});
    TMainKeys keys(target, pointer);
    keys.SetXkbScanCodes(xkbScanCodes);
    const bool handled = Press(keys, row.Key, row.Modifiers, row.ScanCode);
    const std::vector<std::string> expected =
        row.Command.empty() ? std::vector<std::string>{} : std::vector<std::string>{row.Command};
    EXPECT_EQ(target.Log, expected) << "key 0x" << std::hex << row.Key << " modifiers 0x"
                                    << int(row.Modifiers) << " scan " << std::dec << row.ScanCode;
    EXPECT_EQ(handled, !row.Command.empty()) << "key 0x" << std::hex << row.Key;
  }
}

TEST(MainKeys, EveryKeyOfTheTableGivesItsCommand) {
  CheckRows({{Qt::Key_Return, None, 0, "CycleTool"},
             {Qt::Key_Enter, Keypad, 0, "CycleTool"},
             {Qt::Key_Escape, None, 0, "Undo"},
             {Qt::Key_PageUp, None, 0, "StepPicture -1"},
             {Qt::Key_PageDown, None, 0, "StepPicture 1"},
             {Qt::Key_Home, None, 0, "ChoosePicture"},
             {Qt::Key_1, None, 0, "ToolSize 1"},
             {Qt::Key_2, None, 0, "ToolSize 2"},
             {Qt::Key_3, None, 0, "ToolSize 3"},
             {Qt::Key_4, None, 0, "ToolSize 4"},
             {Qt::Key_5, None, 0, "ToolSize 5"},
             {Qt::Key_6, None, 0, "ToolSize 6"},
             {Qt::Key_7, None, 0, "ToolSize 7"},
             {Qt::Key_8, None, 0, "ToolSize 8"},
             {Qt::Key_9, None, 0, "ToolSize 9"},
             {Qt::Key_P, Ctrl, 0, "Print"},
             {Qt::Key_S, Ctrl, 0, "Save"},
             {Qt::Key_Z, Ctrl, 0, "Undo"},
             {Qt::Key_Y, Ctrl, 0, "Redo"},
             {Qt::Key_Z, Ctrl | Shift, 0, "Redo"},
             {Qt::Key_Equal, None, 0, "ZoomIn"},
             {Qt::Key_Plus, Keypad, 0, "ZoomIn"},
             {Qt::Key_Minus, None, 0, "ZoomOut"},
             {Qt::Key_Minus, Keypad, 0, "ZoomOut"},
             {Qt::Key_F2, None, 0, "Info"},
             {Qt::Key_Comma, None, 0, "StepWell -1"},
             {Qt::Key_Period, None, 0, "StepWell 1"},
             {Qt::Key_Slash, None, 0, "NextMixMode"},
             {Qt::Key_BracketLeft, None, 0, "StepPalette -1"},
             {Qt::Key_BracketRight, None, 0, "StepPalette 1"}},
            false);
}

TEST(MainKeys, KeysMarkedAnyIgnoreShiftCtrlAndAlt) {
  CheckRows({{Qt::Key_Return, All, 0, "CycleTool"},
             {Qt::Key_Escape, Alt, 0, "Undo"},
             {Qt::Key_PageUp, Ctrl, 0, "StepPicture -1"},
             {Qt::Key_PageDown, Shift | Alt, 0, "StepPicture 1"},
             {Qt::Key_Home, Ctrl | Shift, 0, "ChoosePicture"},
             {Qt::Key_3, Ctrl, 0, "ToolSize 3"},
             {Qt::Key_9, Alt, 0, "ToolSize 9"},
             {Qt::Key_Equal, Ctrl | Alt, 0, "ZoomIn"},
             {Qt::Key_Minus, Ctrl, 0, "ZoomOut"},
             {Qt::Key_F2, All, 0, "Info"},
             {Qt::Key_Comma, Ctrl, 0, "StepWell -1"},
             {Qt::Key_Period, Alt, 0, "StepWell 1"},
             {Qt::Key_Slash, Ctrl | Shift, 0, "NextMixMode"},
             {Qt::Key_BracketLeft, Alt, 0, "StepPalette -1"},
             {Qt::Key_BracketRight, Ctrl, 0, "StepPalette 1"}},
            false);
}

TEST(MainKeys, ShiftedZoomCharactersStillZoom) {
  // Qt reports Shift+= as "+" and Shift+- as "_".
  CheckRows({{Qt::Key_Plus, Shift, 0, "ZoomIn"}, {Qt::Key_Underscore, Shift, 0, "ZoomOut"}},
            false);
}

TEST(MainKeys, PrintSaveAndUndoLettersNeedCtrlAlone) {
  CheckRows({{Qt::Key_S, None, 0, ""},
             {Qt::Key_S, Shift, 0, ""},
             {Qt::Key_S, Ctrl | Shift, 0, ""},
             {Qt::Key_S, Ctrl | Alt, 0, ""},
             {Qt::Key_S, Alt, 0, ""},
             {Qt::Key_P, None, 0, ""},
             {Qt::Key_P, Ctrl | Shift, 0, ""},
             {Qt::Key_Z, None, 0, ""},
             {Qt::Key_Z, Ctrl | Alt, 0, ""},
             {Qt::Key_Z, Ctrl | Shift | Alt, 0, ""},
             {Qt::Key_Y, None, 0, ""},
             {Qt::Key_Y, Ctrl | Shift, 0, ""},
             // Meta is none of the three modifiers that count.
             {Qt::Key_S, Ctrl | Qt::MetaModifier, 0, "Save"}},
            false);
}

TEST(MainKeys, KeypadDigitsAndOtherKeysDoNothing) {
  std::vector<TKeyRow> rows;
  for (int key = Qt::Key_0; key <= Qt::Key_9; ++key) rows.push_back({key, Keypad, 0, ""});
  for (const int key : {int(Qt::Key_0), int(Qt::Key_A), int(Qt::Key_Q), int(Qt::Key_Tab),
                        int(Qt::Key_Backspace), int(Qt::Key_F1), int(Qt::Key_F3),
                        int(Qt::Key_End), int(Qt::Key_Semicolon), int(Qt::Key_Exclam)})
    rows.push_back({key, None, 0, ""});
  // The keypad's own slash, full stop, asterisk and equals are other keys.
  for (const int key : {int(Qt::Key_Slash), int(Qt::Key_Period), int(Qt::Key_Asterisk),
                        int(Qt::Key_Equal), int(Qt::Key_Comma)})
    rows.push_back({key, Keypad, 0, ""});
  CheckRows(rows, false);
}

TEST(MainKeys, KeypadNavigationKeysActLikeTheMainOnes) {
  // With Num Lock off the keypad gives Page Up/Down and the arrows.
  CheckRows({{Qt::Key_PageUp, Keypad, 0, "StepPicture -1"},
             {Qt::Key_PageDown, Keypad, 0, "StepPicture 1"},
             {Qt::Key_Home, Keypad, 0, "ChoosePicture"}},
            false);
  TRecordingTarget target;
  TFakePointer pointer({50, 50});
  TMainKeys keys(target, pointer);
  EXPECT_TRUE(Press(keys, Qt::Key_Left, Keypad));
  EXPECT_EQ(pointer.At, QPoint(49, 50));
}

TEST(MainKeys, DigitRowIsPhysicalWithXkbKeycodes) {
  // xkb keycodes 10..18 are the keys 1..9 of the main keyboard on every
  // layout: Shift+1 on a US layout ("!"), the French row unshifted ("&",
  // and "-" on the 6 key, "_" on the 8 key) and shifted (the digits).
  CheckRows({{Qt::Key_Exclam, Shift, 10, "ToolSize 1"},
             {Qt::Key_ParenLeft, Shift, 18, "ToolSize 9"},
             {Qt::Key_Ampersand, None, 10, "ToolSize 1"},
             {Qt::Key_Minus, None, 15, "ToolSize 6"},
             {Qt::Key_Underscore, None, 17, "ToolSize 8"},
             {Qt::Key_6, Shift, 15, "ToolSize 6"},
             // 0 (keycode 19) has no action; keypad 1 (keycode 87) neither.
             {Qt::Key_0, None, 19, ""},
             {Qt::Key_1, Keypad, 87, ""}},
            true);
}

TEST(MainKeys, ShiftedPunctuationFindsItsUsPlaceWithXkbKeycodes) {
  CheckRows({{Qt::Key_Less, Shift, 59, "StepWell -1"},
             {Qt::Key_Greater, Shift, 60, "StepWell 1"},
             {Qt::Key_Question, Shift, 61, "NextMixMode"},
             {Qt::Key_BraceLeft, Shift, 34, "StepPalette -1"},
             {Qt::Key_BraceRight, Shift, 35, "StepPalette 1"},
             // A national letter on the US "-" place.
             {Qt::Key_ssharp, None, 20, "ZoomOut"}},
            true);
  // Without xkb keycodes the same events name no key of the table.
  CheckRows({{Qt::Key_Exclam, Shift, 10, ""},
             {Qt::Key_Less, Shift, 59, ""},
             {Qt::Key_BraceLeft, Shift, 34, ""}},
            false);
}

TEST(MainKeys, LettersFollowTheLayoutUnlessItHasNoLatinLetters) {
  constexpr int CyrillicYeru = 0x042B;  // the letter on the US "S" place
  CheckRows({// French layout: "W" lies on the US "Z" place and is no undo.
             {Qt::Key_W, Ctrl, 52, ""},
             // German layout: "Z" lies on the US "Y" place (keycode 29),
             // and "Y" on the US "Z" place.
             {Qt::Key_Z, Ctrl, 29, "Undo"},
             {Qt::Key_Y, Ctrl, 52, "Redo"},
             {CyrillicYeru, Ctrl, 39, "Save"},
             {CyrillicYeru, Ctrl | Shift, 39, ""},
             {CyrillicYeru, None, 39, ""}},
            true);
}

TEST(MainKeys, KeyOfNamesTheKeys) {
  EXPECT_EQ(TMainKeys::KeyOf(Qt::Key_Return, {}, 0, false), mkEnter);
  EXPECT_EQ(TMainKeys::KeyOf(Qt::Key_Space, Qt::ShiftModifier, 0, false), mkSpace);
  EXPECT_EQ(TMainKeys::KeyOf(Qt::Key_Down, Qt::KeypadModifier, 0, false), mkDown);
  EXPECT_EQ(TMainKeys::KeyOf(Qt::Key_5, Qt::KeypadModifier, 14, true), mkNone);
  EXPECT_EQ(TMainKeys::KeyOf(Qt::Key_Percent, Qt::ShiftModifier, 14, true), mkDigit5);
}

TEST(MainKeys, SlashKeyCyclesTheMixModes) {
  EXPECT_EQ(FollowingMixMode(mmOver), mmDarken);
  EXPECT_EQ(FollowingMixMode(mmDarken), mmLighten);
  EXPECT_EQ(FollowingMixMode(mmLighten), mmOver);
}

TEST(MainKeys, BrushSizeTable) {
  EXPECT_EQ(BrushSizes, (std::array<int, 9>{1, 2, 4, 6, 8, 12, 20, 30, 60}));
}

TEST(MainKeys, ReleasesOfOtherKeysDoNothing) {
  TRecordingTarget target;
  TFakePointer pointer({50, 50});
  TMainKeys keys(target, pointer);
  for (const int key : {int(Qt::Key_Return), int(Qt::Key_Escape), int(Qt::Key_1),
                        int(Qt::Key_S), int(Qt::Key_F2), int(Qt::Key_Slash)})
    EXPECT_FALSE(Release(keys, key, Qt::ControlModifier));
  EXPECT_TRUE(target.Log.empty());
  EXPECT_TRUE(pointer.Moves.empty());
}

}  // namespace
}  // namespace tw::test
