// TDSave: the save dialog. It proposes a numbered file name that never
// overwrites an earlier save, lets the user pick the format (JPEG, GIF, BMP),
// the size (a quarter, half or the full picture) and the folder, remembers
// these choices in the settings when the user saves, and writes the
// painter's colour layer at the chosen size. The options sit in a panel that
// opens collapsed and folds out by CollapseHeight pixels.
//
// Folders are kept as settings texts: they end in a separator ("\" is added
// when there is none) and may mix "\" and "/"; NativePath turns them into
// file-system paths wherever a file is touched.
#pragma once

#include <QPointer>
#include <QString>
#include <array>
#include <functional>
#include <string>

#include "controls/QDialogF.h"

class QLabel;

namespace tw {

class TPainter;
class TQImgButton;
class TQPanel;

// The save dialog for the painter's picture, owned by the main window, shown
// modally and freed when it closes.
void SaveDialogRun(TPainter& Painter, const std::string& BaseName);

class TDSave : public TfrmQDialog {
  Q_OBJECT

 public:
  // The client size the layout is designed for, expanded.
  static constexpr int DesignWidth = 481;
  static constexpr int DesignHeight = 361;

  // The folder chooser: Title above the tree, Root where browsing starts
  // when Folder is empty; true and the chosen folder in Folder, or false
  // with Folder unchanged.
  using TBrowseForFolderFunc =
      std::function<bool(const QString& Title, const QString& Root, QString& Folder)>;

  // Reads SaveMode, SaveSize and PathSave from the program's settings.
  explicit TDSave(QWidget* parent = nullptr);
  ~TDSave() override;

  // Stores both, proposes the file name and fills the size texts from the
  // picture's size.
  void SetPicture(TPainter& Painter, const std::string& BaseName);

  // Format 0 JPEG, 1 GIF, 2 BMP; size 0 small, 1 medium, 2 large. Indexes
  // outside 0..2 are clamped, so a damaged setting still selects a button.
  // The format re-proposes the file name; the size does not.
  void SelectMode(int Index);
  void SelectSize(int Index);
  int Mode() const { return FMode; }
  int Size() const { return FSize; }

  // Path with a trailing separator added when it has none; shows it and
  // proposes the file name in it.
  void SetFolder(const std::string& Path);
  const std::string& Folder() const { return FFolder; }

  // The first of folder + base name + ".001" (".002", ..., ".999", ".1000",
  // ...) + the format's extension that names no existing file.
  void UpdateFileName();
  const std::string& FileName() const { return FFileName; }
  const std::string& BaseName() const { return FBaseName; }

  // OnBrowseForFolder when set, else the platform's folder chooser. A Folder
  // that is not an existing folder is treated as empty; otherwise the
  // chooser opens on it.
  bool BrowseForFolder(const QString& Title, const QString& Root, QString& Folder);
  // The folder choice of btnPath and txtCurrentPath: the chooser titled
  // with the path caption, rooted in the pictures folder, on the current
  // folder; a confirmed folder becomes the folder.
  void ChooseFolder();

  // Folds the options panel out or in, as btnAdvanced, txtAdvanced and
  // txtPath do; btnAdvanced is down while the panel is open.
  void ToggleAdvanced();
  bool Expanded() const;
  int CollapseHeight() const { return FCollapseHeight; }

  // Writes the settings, then the picture at the chosen size and format.
  // A failure is shown in one warning and gives false; no partial file is
  // left and the dialog stays open. btnSave closes the dialog with mrOk
  // only when this succeeds.
  bool Save();

  TBrowseForFolderFunc OnBrowseForFolder;

  QLabel* txtTitle = nullptr;
  QLabel* txtPrompt = nullptr;
  QLabel* txtFileName = nullptr;
  TQPanel* pnlAdvanced = nullptr;
  TQImgButton* btnAdvanced = nullptr;
  QLabel* txtAdvanced = nullptr;
  TQImgButton* rbSm = nullptr;
  TQImgButton* rbMd = nullptr;
  TQImgButton* rbLg = nullptr;
  QLabel* txtSm = nullptr;
  QLabel* txtMd = nullptr;
  QLabel* txtLg = nullptr;
  TQImgButton* rbJPEG = nullptr;
  TQImgButton* rbGIF = nullptr;
  TQImgButton* rbBMP = nullptr;
  QLabel* txtJPEG = nullptr;
  QLabel* txtGIF = nullptr;
  QLabel* txtBMP = nullptr;
  QLabel* txtPath = nullptr;
  TQImgButton* btnPath = nullptr;
  QLabel* txtCurrentPath = nullptr;
  TQImgButton* btnCancel = nullptr;
  TQImgButton* btnSave = nullptr;

 protected:
  // Moves up by half the collapse height, so the dialog stays centred once
  // the panel is folded out.
  void DeferredInit() override;
  void resizeEvent(QResizeEvent* event) override;
  bool eventFilter(QObject* Watched, QEvent* Event) override;

 private:
  void CreateControls();
  void SetTexts();
  void LoadArtwork();
  // The controls anchored to the dialog's bottom follow its height.
  void ArrangeAnchored();
  void SetDialogHeight(int Height);
  // Writes the colour layer to FFileName at the chosen size.
  void WritePicture();
  // Shows Text in Label in its designed font and rectangle, the rectangle
  // grown to one line of the font where the line is taller; the font
  // shrinks (and a path is shortened in the middle) until the text fits.
  static void ShowLabelText(QLabel* Label, const QString& Text, bool IsPath = false);

  QPointer<TPainter> FPainter;
  std::string FBaseName;
  std::string FFolder;
  std::string FFileName;
  int FMode = 0;
  int FSize = 1;
  int FCollapseHeight = 0;
  std::array<TQImgButton*, 3> FModeButtons{};
  std::array<TQImgButton*, 3> FSizeButtons{};
  // The label pressed with the left button, clicked when released on it.
  QLabel* FPressedLabel = nullptr;
};

}  // namespace tw
