// TPageProgress: what the painting area shows while a dropped image is
// being made into a page and it takes long enough to notice: a pale veil
// over the picture with a plate that says so and a bar that fills as the
// work goes on. It takes the presses aimed at the picture, so nothing is
// painted underneath.
#pragma once

#include <QString>
#include <QWidget>

namespace tw {

class TPageProgress : public QWidget {
 public:
  explicit TPageProgress(QWidget* Parent);

  // A new page: the bar empty again.
  void Reset();
  // Shows Text over the whole of the parent.
  void Open(const QString& Text);
  // The share done, 0 to 1, told shown or not; the bar never goes back.
  void SetShare(double Share);
  double Share() const { return FShare; }
  const QString& Text() const { return FText; }
  // Where the plate and its bar are drawn, for tests.
  QRect PlateRect() const;
  QRect BarRect() const;

 protected:
  void paintEvent(QPaintEvent* Event) override;

 private:
  QString FText;
  double FShare = 0;
};

}  // namespace tw
