// The developer gallery: one window that shows every control and every
// piece of built-in artwork in all its states, for reviewing the look of
// the program at a glance (and as a screenshot). The sections are built by
// the functions below; GalleryWindow puts them together.
#pragma once

#include <QColor>
#include <QImage>
#include <QString>
#include <QWidget>
#include <string>
#include <vector>

namespace tw::gallery {

// The interface language the gallery shows, the shipped ones, and switching
// (the dialogs section shows the close dialog in every language).
std::string GalleryLanguage();
std::vector<std::string> GalleryLanguages();
void SetGalleryLanguage(const std::string& Code);

// The gallery's width in pixels; sections wrap their cells to it.
constexpr int GalleryWidth = 1240;

// A box that places its children left to right in rows, wrapping at
// Width, and takes the height that needs.
class TFlowBox : public QWidget {
 public:
  TFlowBox(QWidget* Parent, int Width, int Gap = 12);
  // Adds Child as the next cell and places every cell anew.
  void AddCell(QWidget* Child);

 private:
  void Place();

  int FWidth;
  int FGap;
};

// A cell: Content above a small caption.
QWidget* Cell(QWidget* Content, const QString& Caption);
// A cell showing a picture as it is.
QWidget* PictureCell(const QImage& Picture, const QString& Caption);
// A section: a bold heading above a flow box of cells.
QWidget* Section(QWidget* Parent, const QString& Heading, TFlowBox*& Cells);

// Picture over a checkerboard, so transparent parts show as such.
QImage OverChecks(const QImage& Picture);

// The sections, each returned as a widget for the gallery's column.
QWidget* MainButtonsSection(QWidget* Parent);
QWidget* DialogButtonsSection(QWidget* Parent);
QWidget* SlidersSection(QWidget* Parent);
QWidget* TraysSection(QWidget* Parent);
// Bubbles need the window they belong to, whose font they take.
QWidget* BubblesSection(QWidget* Parent, QWidget* MainWindow);
QWidget* SkinsSection(QWidget* Parent);
QWidget* CursorsSection(QWidget* Parent);
QWidget* DialogsSection(QWidget* Parent);
QWidget* AllArtworkSection(QWidget* Parent);

// The whole gallery: the sections one below the other in a scrolling
// window.
class TGalleryWindow : public QWidget {
 public:
  TGalleryWindow();
  // Everything in the gallery, also what is scrolled out of view.
  QImage Screenshot();

 private:
  QWidget* FContent;
};

}  // namespace tw::gallery
