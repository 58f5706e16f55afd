// TQFitLabel: a one-line label for a fixed box, such as the title plate of
// the main window. A text that fits keeps the label's font; a longer one is
// drawn smaller, down to a size that is still easy to read, and what does
// not fit even then ends in an ellipsis. The line sits centred on the box's
// height (ascenders and descenders balanced), so no stroke crosses the box's
// edges. text() keeps the whole text; ShownText and ShownFont tell what is
// drawn.
#pragma once

#include <QFont>
#include <QLabel>
#include <QString>

namespace tw {

class TQFitLabel : public QLabel {
  Q_OBJECT

 public:
  explicit TQFitLabel(QWidget* parent = nullptr);

  // The smallest pixel size a long text shrinks to before it is elided.
  int MinPixelSize() const { return FMinPixelSize; }
  void SetMinPixelSize(int Value);

  QString ShownText() const;
  QFont ShownFont() const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  struct TFitted {
    QFont Font;
    QString Text;
    int Baseline = 0;
  };
  TFitted Fit() const;

  int FMinPixelSize = 11;
};

}  // namespace tw
