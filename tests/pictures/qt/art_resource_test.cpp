// The built-in artwork and font: names found without regard to case, a
// clear error for a missing name, and the embedded font registered.
#include "pictures/qt/ArtResourceU.h"

#include <gtest/gtest.h>

#include <QFontInfo>

#include "painter/ErrorsU.h"

namespace tw {
namespace {

TEST(ArtResource, MissingPictureIsAClearError) {
  EXPECT_FALSE(HasArtResource("no such picture"));
  try {
    QImage picture;
    LoadPngResource(picture, "no such picture");
    FAIL() << "a missing picture loaded";
  } catch (const EError& error) {
    EXPECT_STREQ(error.what(), "The built-in picture \"no such picture\" is missing.");
  }
  EXPECT_THROW(JpegResource("nothing"), EError);
}

TEST(ArtResource, EmbeddedFontIsRegistered) {
  const QString family = InterfaceFontFamily();
  EXPECT_EQ(family, "Andika");
  QFont font(family);
  font.setPixelSize(14);
  EXPECT_EQ(QFontInfo(font).family(), "Andika");
  font.setBold(true);
  EXPECT_TRUE(QFontInfo(font).bold());
}

}  // namespace
}  // namespace tw
