#include "controls/QDialogF.h"

#include <QCloseEvent>
#include <QEnterEvent>
#include <QEventLoop>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPointer>
#include <QScreen>

#include "controls/DialogKeysU.h"
#include "base/ErrorsU.h"
#include "pictures/QUtilU.h"
#include "pictures/qt/ArtResourceU.h"

namespace tw {

namespace {

QPointer<QWidget>& MainFormPointer() {
  static QPointer<QWidget> Form;
  return Form;
}

// The link behaviour of one label: lives as the label's child, so it goes
// with the label.
class TLinkLabelFilter : public QObject {
 public:
  TLinkLabelFilter(QLabel* Label, const QString& Target)
      : QObject(Label), FLabel(Label), FTarget(Target) {
    setObjectName(QStringLiteral("LinkLabelFilter"));
  }

 protected:
  bool eventFilter(QObject* Watched, QEvent* Event) override {
    if (Watched != FLabel) return false;
    switch (Event->type()) {
      case QEvent::Enter:
        SetUnderline(true);
        break;
      case QEvent::Leave:
        SetUnderline(false);
        break;
      case QEvent::MouseButtonPress:
        if (static_cast<QMouseEvent*>(Event)->button() == Qt::LeftButton) FPressed = true;
        break;
      case QEvent::MouseButtonRelease: {
        const auto* Mouse = static_cast<QMouseEvent*>(Event);
        if (Mouse->button() != Qt::LeftButton || !FPressed) break;
        FPressed = false;
        // A click is a press and a release on the label.
        if (FLabel->rect().contains(Mouse->position().toPoint())) {
          OpenDocument(FTarget.toStdString());
        }
        break;
      }
      default:
        break;
    }
    return false;
  }

 private:
  void SetUnderline(bool Value) {
    QFont Font = FLabel->font();
    Font.setUnderline(Value);
    FLabel->setFont(Font);
  }

  QLabel* FLabel;
  QString FTarget;
  bool FPressed = false;
};

bool IsLinkText(const QString& Text) {
  return Text.startsWith(QLatin1String("http://"), Qt::CaseInsensitive) ||
         Text.startsWith(QLatin1String("https://"), Qt::CaseInsensitive) ||
         Text.startsWith(QLatin1String("www."), Qt::CaseInsensitive);
}

}  // namespace

void SetMainForm(QWidget* Form) { MainFormPointer() = Form; }

QWidget* MainForm() { return MainFormPointer().data(); }

TfrmQDialog::TfrmQDialog(QWidget* parent)
    : TfrmQBase(parent), FKeys(std::make_unique<TDialogKeys>(this)) {
  QImage Art;
  LoadJpegResource(Art, QStringLiteral("dialog"));
  SetSliceSettings(TSlice9Settings{8, 8, 8, 8, false, false});
  SetPicture(Art);
}

TfrmQDialog::~TfrmQDialog() {
  // ShowModal notices through its guard that the dialog is gone.
  if (FModalLoop) FModalLoop->exit();
}

void TfrmQDialog::SetModalResult(int Result) {
  FModalResult = Result;
  if (Result != mrNone && FModalLoop) FModalLoop->exit();
}

int TfrmQDialog::ShowModal() {
  if (FModalLoop) throw EError("The dialog is already shown.");
  FModalResult = mrNone;
  if (isVisible()) hide();
  setWindowModality(Qt::ApplicationModal);
  show();
  activateWindow();
  const QPointer<TfrmQDialog> Alive(this);
  QEventLoop Loop;
  FModalLoop = &Loop;
  Loop.exec(QEventLoop::DialogExec);
  // Destroyed while it ran (its owner went away): it ended without a choice.
  if (!Alive) return mrCancel;
  FModalLoop = nullptr;
  hide();
  return FModalResult;
}

QString TfrmQDialog::Text(const QString& Key) const {
  return QString::fromStdString(TranslateKey((objectName() + Key).toStdString()));
}

QString TfrmQDialog::FormatText(const QString& Key, const std::vector<TFormatArg>& Args) const {
  const std::string Pattern = TranslateKey((objectName() + Key).toStdString());
  return QString::fromStdString(FormatLangText(Pattern, Args));
}

void TfrmQDialog::SetupLink(QLabel* Label, const QString& Target) {
  if (!Label) return;
  const QString Link = Target.isEmpty() && IsLinkText(Label->text()) ? Label->text() : Target;
  if (Link.isEmpty()) return;
  // Set up once, however often it is asked.
  if (Label->findChild<TLinkLabelFilter*>(QString(), Qt::FindDirectChildrenOnly)) return;
  Label->setCursor(Qt::PointingHandCursor);
  Label->installEventFilter(new TLinkLabelFilter(Label, Link));
}

void TfrmQDialog::SetDefaultButton(TQImgButton* Button) { FKeys->SetDefaultButton(Button); }

void TfrmQDialog::SetCancelButton(TQImgButton* Button) { FKeys->SetCancelButton(Button); }

bool TfrmQDialog::event(QEvent* event) {
  if (event->type() == QEvent::WindowDeactivate) FKeys->Deactivated();
  return TfrmQBase::event(event);
}

void TfrmQDialog::showEvent(QShowEvent* event) {
  if (!event->spontaneous()) {
    CentreOverMainForm();
    FKeys->PrepareControls();
  }
  TfrmQBase::showEvent(event);
}

void TfrmQDialog::keyPressEvent(QKeyEvent* event) {
  if (FKeys->KeyPress(*event))
    event->accept();
  else
    TfrmQBase::keyPressEvent(event);
}

void TfrmQDialog::keyReleaseEvent(QKeyEvent* event) {
  if (FKeys->KeyRelease(*event))
    event->accept();
  else
    TfrmQBase::keyReleaseEvent(event);
}

bool TfrmQDialog::focusNextPrevChild(bool next) { return FKeys->FocusNext(next); }

void TfrmQDialog::closeEvent(QCloseEvent* event) {
  TfrmQBase::closeEvent(event);
  if (event->isAccepted() && FModalLoop) {
    if (FModalResult == mrNone) FModalResult = mrCancel;
    FModalLoop->exit();
  }
}

void TfrmQDialog::CentreOverMainForm() {
  QRect Area;
  QWidget* Main = MainForm();
  if (Main && Main != this) {
    Area = Main->frameGeometry();
  } else if (const QScreen* Screen = screen()) {
    Area = Screen->availableGeometry();
  }
  if (Area.isEmpty()) return;
  move(Area.x() + (Area.width() - width()) / 2, Area.y() + (Area.height() - height()) / 2);
}

}  // namespace tw
