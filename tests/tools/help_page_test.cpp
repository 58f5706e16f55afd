// The help page made from the README: the Markdown the README uses becomes
// the matching HTML, everything is escaped, and the page holds exactly the
// part between the markers.
#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <regex>
#include <sstream>
#include <stdexcept>

#include "tools/helppage/HelpPageU.h"

namespace tw::test {
namespace {

TEST(HelpPage, HeadingsParagraphsAndInlineMarks) {
  EXPECT_EQ(MarkdownToHtml("## Running it\n\nOne line\nand the next, `make run` and **bold**.\n"),
            "<h2>Running it</h2>\n"
            "<p>One line and the next, <code>make run</code> and <strong>bold</strong>.</p>\n");
  EXPECT_EQ(MarkdownToHtml("See [Installing](#installing) and `a<b>`.\n"),
            "<p>See Installing and <code>a&lt;b&gt;</code>.</p>\n");
  // Marks without their closing half stay as written.
  EXPECT_EQ(MarkdownToHtml("a ` b ** c [d\n"), "<p>a ` b ** c [d</p>\n");
}

TEST(HelpPage, TablesListsAndCodeBlocks) {
  EXPECT_EQ(MarkdownToHtml("| Key | Action |\n|---|---|\n| `Escape` | undo |\n"
                           "| `a|b` | the bar in code stays |\n"),
            "<table>\n<tr><th>Key</th><th>Action</th></tr>\n"
            "<tr><td><code>Escape</code></td><td>undo</td></tr>\n"
            "<tr><td><code>a|b</code></td><td>the bar in code stays</td></tr>\n</table>\n");
  EXPECT_EQ(MarkdownToHtml("- first\n  goes on\n- second\n\nAfter.\n"),
            "<ul>\n<li>first goes on</li>\n<li>second</li>\n</ul>\n<p>After.</p>\n");
  EXPECT_EQ(MarkdownToHtml("```sh\ntintwell-config lock save on   # <here>\n```\n"),
            "<pre>tintwell-config lock save on   # &lt;here&gt;\n</pre>\n");
  // A row of bars without a separator row is text.
  EXPECT_EQ(MarkdownToHtml("| not a table |\n"), "<p>| not a table |</p>\n");
}

TEST(HelpPage, ThePageHoldsOnlyThePartBetweenTheMarkers) {
  const std::string readme =
      "# Project\n\nFor developers.\n<!-- help-page:begin -->\n## For parents\n\nHello & "
      "welcome.\n<!-- help-page:end -->\n## Building\n";
  const std::string page = HelpPageHtml(readme, "Help & more");
  EXPECT_NE(page.find("<title>Help &amp; more</title>"), std::string::npos);
  EXPECT_NE(page.find("<h2>For parents</h2>\n<p>Hello &amp; welcome.</p>"), std::string::npos);
  EXPECT_EQ(page.find("developers"), std::string::npos);
  EXPECT_EQ(page.find("Building"), std::string::npos);
  EXPECT_EQ(page.rfind("</html>\n"), page.size() - 8);
  EXPECT_THROW(HelpPageHtml("no markers", "t"), std::runtime_error);
  EXPECT_THROW(HelpPageHtml("<!-- help-page:end --><!-- help-page:begin -->", "t"),
               std::runtime_error);
}

TEST(HelpPage, TheRepositorysReadmeMakesAPageWithTheKeyTable) {
  std::ifstream in(std::string(TINTWELL_TEST_DATA) + "/../README.md");
  ASSERT_TRUE(in) << "README.md";
  std::stringstream text;
  text << in.rdbuf();
  const std::string page = HelpPageHtml(text.str(), "Tintwell");
  EXPECT_NE(page.find("<h2>Running it</h2>"), std::string::npos);
  EXPECT_NE(page.find("<td><code>Escape</code>, <code>Ctrl+Z</code></td><td>undo</td>"),
            std::string::npos);
  EXPECT_NE(page.find("<h3>For parents and teachers: the password and the locks</h3>"),
            std::string::npos);
  // The developers' part stays out.
  EXPECT_EQ(page.find("Developer tools"), std::string::npos);
  EXPECT_EQ(page.find("<h2>Layout</h2>"), std::string::npos);
}

// Any text at all ends, and whatever it holds, the page has no mark-up but
// the maker's own: every "<" left once the known tags are taken out came
// from the text unescaped.
TEST(HelpPage, RandomTextEndsAndIsAlwaysEscaped) {
  const std::string pieces[] = {"|", "---", "-", " ", "  ", "\n", "\n\n", "`", "**", "[", "](",
                                ")", "#", "## ", "```", "<", ">", "&", "\"", "a", "b c", "\r"};
  const std::regex tags(
      "</?(h[1-6]|p|ul|li|table|tr|th|td|pre|code|strong)>");
  std::mt19937 random(7);
  for (int run = 0; run < 3000; ++run) {
    std::string text;
    const int length = int(random() % 40);
    for (int i = 0; i < length; ++i) text += pieces[random() % std::size(pieces)];
    const std::string html = std::regex_replace(MarkdownToHtml(text), tags, "");
    ASSERT_EQ(html.find('<'), std::string::npos) << text;
    ASSERT_EQ(html.find('>'), std::string::npos) << text;
  }
}

}  // namespace
}  // namespace tw::test
