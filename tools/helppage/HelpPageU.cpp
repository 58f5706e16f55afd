#include "tools/helppage/HelpPageU.h"

#include <sstream>
#include <stdexcept>
#include <vector>

namespace tw {
namespace {

constexpr const char* BeginMarker = "<!-- help-page:begin -->";
constexpr const char* EndMarker = "<!-- help-page:end -->";

std::string Escaped(const std::string& Text) {
  std::string out;
  for (char c : Text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default: out += c;
    }
  }
  return out;
}

std::string Trimmed(const std::string& Text) {
  const size_t first = Text.find_first_not_of(" \t");
  if (first == std::string::npos) return std::string();
  const size_t last = Text.find_last_not_of(" \t");
  return Text.substr(first, last - first + 1);
}

bool StartsWith(const std::string& Text, const std::string& Prefix) {
  return Text.compare(0, Prefix.size(), Prefix) == 0;
}

// Text with `code`, **bold** and [links](target); an opening mark without
// its closing one is kept as it is.
std::string Inline(const std::string& Text) {
  std::string out;
  size_t i = 0;
  while (i < Text.size()) {
    if (Text[i] == '`') {
      const size_t end = Text.find('`', i + 1);
      if (end != std::string::npos) {
        out += "<code>" + Escaped(Text.substr(i + 1, end - i - 1)) + "</code>";
        i = end + 1;
        continue;
      }
    } else if (Text.compare(i, 2, "**") == 0) {
      const size_t end = Text.find("**", i + 2);
      if (end != std::string::npos) {
        out += "<strong>" + Inline(Text.substr(i + 2, end - i - 2)) + "</strong>";
        i = end + 2;
        continue;
      }
    } else if (Text[i] == '[') {
      const size_t close = Text.find("](", i + 1);
      const size_t end = close == std::string::npos ? close : Text.find(')', close + 2);
      if (end != std::string::npos) {
        out += Inline(Text.substr(i + 1, close - i - 1));
        i = end + 1;
        continue;
      }
    }
    out += Escaped(std::string(1, Text[i]));
    ++i;
  }
  return out;
}

std::vector<std::string> Lines(const std::string& Text) {
  std::vector<std::string> lines;
  std::istringstream in(Text);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

bool IsTableRow(const std::string& Line) { return StartsWith(Trimmed(Line), "|"); }

// The cells of "| a | b |"; a "|" inside `code` belongs to the cell.
std::vector<std::string> Cells(const std::string& Line) {
  std::string row = Trimmed(Line);
  if (StartsWith(row, "|")) row.erase(0, 1);
  if (!row.empty() && row.back() == '|') row.pop_back();
  std::vector<std::string> cells;
  std::string cell;
  bool inCode = false;
  for (char c : row) {
    if (c == '`') inCode = !inCode;
    if (c == '|' && !inCode) {
      cells.push_back(Trimmed(cell));
      cell.clear();
    } else {
      cell += c;
    }
  }
  cells.push_back(Trimmed(cell));
  return cells;
}

bool IsSeparatorRow(const std::string& Line) {
  for (const std::string& cell : Cells(Line))
    if (cell.empty() || cell.find_first_not_of("-: ") != std::string::npos) return false;
  return true;
}

bool IsListItem(const std::string& Line) { return StartsWith(Line, "- "); }

int HeadingLevel(const std::string& Line) {
  size_t n = 0;
  while (n < Line.size() && Line[n] == '#') ++n;
  return n >= 1 && n <= 6 && n < Line.size() && Line[n] == ' ' ? int(n) : 0;
}

}  // namespace

std::string MarkdownToHtml(const std::string& Markdown) {
  const std::vector<std::string> lines = Lines(Markdown);
  std::string out;
  size_t i = 0;
  while (i < lines.size()) {
    const std::string& line = lines[i];
    if (Trimmed(line).empty()) {
      ++i;
    } else if (StartsWith(line, "```")) {
      out += "<pre>";
      for (++i; i < lines.size() && !StartsWith(lines[i], "```"); ++i)
        out += Escaped(lines[i]) + "\n";
      out += "</pre>\n";
      ++i;
    } else if (const int level = HeadingLevel(line)) {
      const std::string tag = "h" + std::to_string(level);
      out += "<" + tag + ">" + Inline(Trimmed(line.substr(size_t(level)))) + "</" + tag + ">\n";
      ++i;
    } else if (IsTableRow(line) && i + 1 < lines.size() && IsSeparatorRow(lines[i + 1])) {
      out += "<table>\n<tr>";
      for (const std::string& cell : Cells(line)) out += "<th>" + Inline(cell) + "</th>";
      out += "</tr>\n";
      for (i += 2; i < lines.size() && IsTableRow(lines[i]); ++i) {
        out += "<tr>";
        for (const std::string& cell : Cells(lines[i])) out += "<td>" + Inline(cell) + "</td>";
        out += "</tr>\n";
      }
      out += "</table>\n";
    } else if (IsListItem(line)) {
      out += "<ul>\n";
      while (i < lines.size() && IsListItem(lines[i])) {
        std::string item = lines[i].substr(2);
        for (++i; i < lines.size() && StartsWith(lines[i], "  ") && !Trimmed(lines[i]).empty();
             ++i)
          item += " " + Trimmed(lines[i]);
        out += "<li>" + Inline(item) + "</li>\n";
      }
      out += "</ul>\n";
    } else {
      // The first line belongs to the paragraph whatever it looks like (a
      // row of bars without a separator row is text).
      std::string paragraph = Trimmed(lines[i]);
      for (++i; i < lines.size() && !Trimmed(lines[i]).empty() && !HeadingLevel(lines[i]) &&
                !StartsWith(lines[i], "```") && !IsListItem(lines[i]) && !IsTableRow(lines[i]);
           ++i)
        paragraph += " " + Trimmed(lines[i]);
      out += "<p>" + Inline(paragraph) + "</p>\n";
    }
  }
  return out;
}

std::string HelpPageHtml(const std::string& Readme, const std::string& Title) {
  const size_t begin = Readme.find(BeginMarker);
  const size_t end = Readme.find(EndMarker);
  if (begin == std::string::npos || end == std::string::npos || end < begin)
    throw std::runtime_error(std::string("the README has no part between \"") + BeginMarker +
                             "\" and \"" + EndMarker + "\"");
  const size_t from = begin + std::string(BeginMarker).size();
  return "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n<title>" +
         Escaped(Title) +
         "</title>\n<style>\n"
         "body { font-family: sans-serif; max-width: 48em; margin: 2em auto; padding: 0 1em;"
         " line-height: 1.5; color: #222; }\n"
         "table { border-collapse: collapse; margin: 1em 0; }\n"
         "th, td { border: 1px solid #bbb; padding: 0.3em 0.6em; text-align: left; }\n"
         "code, pre { background: #f3f1ec; }\n"
         "pre { padding: 0.6em; overflow-x: auto; }\n"
         "</style>\n</head>\n<body>\n<h1>" +
         Escaped(Title) + "</h1>\n" + MarkdownToHtml(Readme.substr(from, end - from)) +
         "</body>\n</html>\n";
}

}  // namespace tw
