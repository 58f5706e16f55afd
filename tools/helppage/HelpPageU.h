// The help page installed with the program: the user's part of the README
// (between the markers "<!-- help-page:begin -->" and
// "<!-- help-page:end -->") as one self-contained HTML page, so the program
// can point parents at help that is on the machine.
//
// The README is written in a small part of Markdown, and only that part is
// understood: "#" headings, paragraphs, "-" lists (with indented continuation
// lines), tables with a separator row, fenced code blocks, and within text
// `code`, **bold** and [links](target), of which only the text is kept (the
// page is read offline). Everything else is text, escaped for HTML.
#pragma once

#include <string>

namespace tw {

// The page for a README's text; throws std::runtime_error when the markers
// are missing or out of order.
std::string HelpPageHtml(const std::string& Readme, const std::string& Title);

// The HTML for a piece of Markdown (the part between the markers).
std::string MarkdownToHtml(const std::string& Markdown);

}  // namespace tw
