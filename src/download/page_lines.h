#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QStringList>
#include <QStringView>
#include <optional>

namespace dravik {

// The text of a page the user named (an archive's address), as lines for the import: no line holds a
// NUL, CR or LF. Nothing when the page is no text page.
//
// What the page is comes from its Content-Type: text/html and application/xhtml+xml are HTML; text/*
// and the textual application types (JSON, XML, JavaScript, CSV) are text; any other type (image/*,
// application/octet-stream, application/pdf …) is no text page. Without a Content-Type the page is HTML
// when it begins as one (a doctype, <html>, <head>, <body>, <table>, … as browsers sniff), else text.
//
// The charset: a byte-order mark (UTF-8, UTF-16) first, as browsers do; else the Content-Type's
// charset; else, for HTML, the first meta element that declares one (<meta charset=…> or the
// http-equiv Content-Type); else the record files' rules (UTF-8 when the bytes are valid UTF-8, else
// GB18030). A declared charset not converted here counts as none; GB2312 and GBK are read as GB18030.
// Bytes invalid in the charset become U+FFFD; NUL characters are dropped.
//
// Text pages give their lines as they are (CR LF, CR and LF each end a line). HTML pages give what
// htmlLines gives. Raises dravik::Error where GB18030 cannot be converted (a Windows system without
// code page 936).
std::optional<QStringList> readPageLines(const QByteArray& body, QByteArrayView contentType);

// Whether a page of that Content-Type may be a text page: false only for the types that readPageLines
// refuses, so that a fetch can stop as soon as the headers are in.
bool mayBeTextPage(QByteArrayView contentType);

// The lines of an HTML page's text, read by libxml2's HTML parser (which decodes the character
// references):
// - One line per table row (tr), in the document order of the rows' starts, rows of every table: the
//   texts of the row's cells (th, td) joined by a tab. Cells that a table holds outside any row make
//   one row, as browsers show them. A cell's text leaves out the tables nested in it (their rows are
//   lines of their own); block elements and br inside it part words with a blank; every run of white
//   space (no-break and ideographic spaces included) is one blank, none at either end. A row without
//   any text gives no line.
// - A page without such a row gives its text one line per block instead: the text between the starts
//   and ends of block elements (p, div, li, headings …) and br, and each line of a pre or textarea,
//   with white space made one blank in the same way; empty lines left out.
// - The head, script, style, template and comments are not read.
QStringList htmlLines(QStringView html);

} // namespace dravik
