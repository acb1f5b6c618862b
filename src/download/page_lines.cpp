#include "download/page_lines.h"

#include "download/page_text.h"
#include "storage/record_file.h"
#include "storage/text_codec.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <libxml/HTMLparser.h>
#include <libxml/parser.h>
#include <libxml/tree.h>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace dravik {

namespace {

constexpr int kParseOptions =
    HTML_PARSE_RECOVER | HTML_PARSE_NONET | HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING;

enum class PageKind { Html, Text, NotText, Unnamed };

bool isAsciiSpace(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\f';
}

PageKind kindOfContentType(QByteArrayView contentType) {
    const qsizetype semicolon = contentType.indexOf(';');
    const QByteArray type =
        contentType.first(semicolon < 0 ? contentType.size() : semicolon).toByteArray().trimmed().toLower();
    if (!type.contains('/'))
        return PageKind::Unnamed;
    if (type == "text/html" || type == "application/xhtml+xml")
        return PageKind::Html;
    static const char* const textualApplicationTypes[] = {
        "application/json",       "application/xml", "application/javascript", "application/x-javascript",
        "application/ecmascript", "application/csv", "application/x-csv",
    };
    if (type.startsWith("text/") || type.endsWith("+xml") || type.endsWith("+json") ||
        std::any_of(std::begin(textualApplicationTypes), std::end(textualApplicationTypes),
                    [&type](const char* textual) { return type == textual; }))
        return PageKind::Text;
    return PageKind::NotText;
}

// Whether a page without a Content-Type begins as HTML: after blanks, one of the tags by which
// browsers recognise an HTML page, followed by a blank or ">".
bool beginsAsHtml(QStringView text) {
    static const QLatin1String starts[] = {
        QLatin1String("<!doctype html"),
        QLatin1String("<html"),
        QLatin1String("<head"),
        QLatin1String("<script"),
        QLatin1String("<iframe"),
        QLatin1String("<h1"),
        QLatin1String("<div"),
        QLatin1String("<font"),
        QLatin1String("<table"),
        QLatin1String("<a"),
        QLatin1String("<style"),
        QLatin1String("<title"),
        QLatin1String("<b"),
        QLatin1String("<body"),
        QLatin1String("<br"),
        QLatin1String("<p"),
        QLatin1String("<!--"),
        QLatin1String("<meta"),
    };
    qsizetype at = 0;
    while (at < text.size() && (isAsciiSpace(text[at].unicode()) || text[at] == QChar(0xFEFF)))
        ++at;
    const QStringView rest = text.sliced(at);
    return std::any_of(std::begin(starts), std::end(starts), [rest](QLatin1String start) {
        if (!rest.startsWith(start, Qt::CaseInsensitive))
            return false;
        if (start == QLatin1String("<!--"))
            return true;
        const qsizetype end = start.size();
        return end < rest.size() &&
               (isAsciiSpace(rest[end].unicode()) || rest[end] == u'>' || rest[end] == u'/');
    });
}

bool equalsNoCase(const xmlChar* a, const char* b) {
    return a && xmlStrcasecmp(a, reinterpret_cast<const xmlChar*>(b)) == 0;
}

// The charset of the first meta element that declares one, found by libxml2's parser reading the
// bytes one character each (the names are ASCII in every charset a page declares that way). Stops at
// that element.
QByteArray metaCharset(const QByteArray& page) {
    const std::unique_ptr<htmlParserCtxt, decltype(&htmlFreeParserCtxt)> parser(htmlNewParserCtxt(),
                                                                                htmlFreeParserCtxt);
    if (!parser)
        return {};
    QByteArray found;
    // Only element starts are wanted: no tree is built. A handler is given the parser.
    *parser->sax = htmlSAXHandler{};
    parser->_private = &found;
    parser->sax->startElement = [](void* context, const xmlChar* name, const xmlChar** attributes) {
        if (!equalsNoCase(name, "meta") || !attributes)
            return;
        QByteArray charset;
        bool contentTypeMeta = false;
        QByteArray content;
        for (const xmlChar** attribute = attributes; attribute[0]; attribute += 2) {
            const QByteArray value =
                attribute[1] ? QByteArray(reinterpret_cast<const char*>(attribute[1])) : "";
            if (equalsNoCase(attribute[0], "charset"))
                charset = value.trimmed();
            else if (equalsNoCase(attribute[0], "http-equiv"))
                contentTypeMeta = value.trimmed().compare("content-type", Qt::CaseInsensitive) == 0;
            else if (equalsNoCase(attribute[0], "content"))
                content = value;
        }
        if (charset.isEmpty() && contentTypeMeta)
            charset = charsetOfContentType(content);
        if (!charset.isEmpty()) {
            const auto parser = static_cast<htmlParserCtxtPtr>(context);
            *static_cast<QByteArray*>(parser->_private) = charset;
            xmlStopParser(parser);
        }
    };
    const QByteArray withoutNul = page.contains('\0') ? QByteArray(page).replace('\0', "") : page;
    htmlCtxtReadMemory(parser.get(), withoutNul.constData(),
                       int(std::min<qsizetype>(withoutNul.size(), INT_MAX)), nullptr, "ISO-8859-1",
                       kParseOptions);
    if (parser->myDoc)
        xmlFreeDoc(parser->myDoc);
    return found;
}

// The text of the bytes in a declared charset; nothing when none is declared or it is not known here.
std::optional<QString> decodedAs(const QByteArray& body, const QByteArray& charset) {
    if (charset.isEmpty())
        return std::nullopt;
    const QByteArray name = decoderNameOfCharset(charset);
    if (!isKnownCharset(name.constData()))
        return std::nullopt;
    return decodeLeniently(body, name.constData(), InitialMark::Skip);
}

QString decodedPage(const QByteArray& body, QByteArrayView contentType, bool mayBeHtml) {
    static const struct {
        QByteArrayView mark;
        const char* charset;
    } marks[] = {{"\xEF\xBB\xBF", "UTF-8"}, {"\xFF\xFE", "UTF-16LE"}, {"\xFE\xFF", "UTF-16BE"}};
    for (const auto& [mark, charset] : marks) {
        if (body.startsWith(mark))
            return decodeLeniently(QByteArrayView(body).sliced(mark.size()), charset);
    }
    if (std::optional<QString> text = decodedAs(body, charsetOfContentType(contentType)))
        return *text;
    if (mayBeHtml) {
        QByteArray charset = metaCharset(body);
        // A page that a parser could read for its meta is no UTF-16 page, whatever it says.
        if (charset.startsWith("utf-16") || charset.startsWith("UTF-16"))
            charset = "UTF-8";
        if (std::optional<QString> text = decodedAs(body, charset))
            return *text;
    }
    return decodeText(body).text;
}

// Calls enter(node) for `top` and every node below it in document order, and leave(node) once the
// node's children are done; enter gives whether to go into the children. A loop, not a recursion:
// the depth of a page is not ours to choose.
template <typename Enter, typename Leave> void walk(xmlNode* top, Enter enter, Leave leave) {
    xmlNode* node = top;
    while (node) {
        if (enter(node) && node->children) {
            node = node->children;
            continue;
        }
        for (;;) {
            leave(node);
            if (node == top) {
                node = nullptr;
                break;
            }
            if (node->next) {
                node = node->next;
                break;
            }
            node = node->parent;
        }
    }
}

template <typename Enter, typename Leave> void walkDocument(xmlDoc* document, Enter enter, Leave leave) {
    for (xmlNode* top = document->children; top; top = top->next)
        walk(top, enter, leave);
}

bool isElement(const xmlNode* node, const char* name) {
    return node->type == XML_ELEMENT_NODE &&
           std::strcmp(reinterpret_cast<const char*>(node->name), name) == 0;
}

bool isText(const xmlNode* node) {
    return node->type == XML_TEXT_NODE || node->type == XML_CDATA_SECTION_NODE;
}

std::string_view nameOf(const xmlNode* node) {
    return reinterpret_cast<const char*>(node->name);
}

// Elements whose content is no text of the page.
bool isUnread(const xmlNode* node) {
    static const std::unordered_set<std::string_view> names = {"head", "script", "style", "template",
                                                               "title"};
    return node->type == XML_ELEMENT_NODE && names.count(nameOf(node));
}

// Elements that end a line of block text, and part words inside a table cell.
bool isBlock(const xmlNode* node) {
    static const std::unordered_set<std::string_view> names = {
        "address", "article", "aside",  "blockquote", "br",        "caption", "center",   "dd",
        "details", "dialog",  "dir",    "div",        "dl",        "dt",      "fieldset", "figcaption",
        "figure",  "footer",  "form",   "h1",         "h2",        "h3",      "h4",       "h5",
        "h6",      "header",  "hgroup", "hr",         "li",        "listing", "main",     "menu",
        "nav",     "ol",      "option", "p",          "plaintext", "pre",     "section",  "summary",
        "table",   "tbody",   "td",     "textarea",   "tfoot",     "th",      "thead",    "tr",
        "ul",      "xmp",
    };
    return node->type == XML_ELEMENT_NODE && names.count(nameOf(node));
}

// Elements whose text keeps its line ends.
bool isPreformatted(const xmlNode* node) {
    static const std::unordered_set<std::string_view> names = {"pre", "textarea", "listing", "plaintext",
                                                               "xmp"};
    return node->type == XML_ELEMENT_NODE && names.count(nameOf(node));
}

void appendContent(std::string& text, const xmlNode* node) {
    if (node->content)
        text += reinterpret_cast<const char*>(node->content);
}

// A line of UTF-8 text with its white space made one blank and none at either end; empty when nothing
// else is left.
QString cleanLine(const std::string& text) {
    return QString::fromUtf8(text.data(), qsizetype(text.size())).simplified();
}

// The cells of every row, in the order the rows start.
std::vector<std::vector<std::string>> tableRows(xmlDoc* document) {
    struct Frame {
        enum Kind { Table, Row, Cell } kind;
        const xmlNode* node;
        // Row and Cell: the row's index. Table: the index of the row its cells outside any row make,
        // while one is open, else -1.
        qsizetype row;
    };
    std::vector<std::vector<std::string>> rows;
    std::vector<Frame> frames;
    const auto inCell = [&frames] { return !frames.empty() && frames.back().kind == Frame::Cell; };
    const auto newRow = [&rows] {
        rows.emplace_back();
        return qsizetype(rows.size()) - 1;
    };
    // The row a new cell belongs to: the innermost row or table around it; -1 outside any.
    const auto rowForCell = [&]() -> qsizetype {
        for (auto frame = frames.rbegin(); frame != frames.rend(); ++frame) {
            if (frame->kind == Frame::Row)
                return frame->row;
            if (frame->kind == Frame::Table) {
                if (frame->row < 0)
                    frame->row = newRow();
                return frame->row;
            }
        }
        return -1;
    };

    const auto enter = [&](const xmlNode* node) {
        if (isText(node)) {
            if (inCell())
                appendContent(rows[size_t(frames.back().row)].back(), node);
            return false;
        }
        if (node->type != XML_ELEMENT_NODE || isUnread(node))
            return false;
        if (inCell() && isBlock(node))
            rows[size_t(frames.back().row)].back() += ' ';
        if (isElement(node, "table")) {
            frames.push_back({Frame::Table, node, -1});
        } else if (isElement(node, "tr")) {
            if (!frames.empty() && frames.back().kind == Frame::Table)
                frames.back().row = -1; // cells after this row make a row of their own
            frames.push_back({Frame::Row, node, newRow()});
        } else if (isElement(node, "td") || isElement(node, "th")) {
            const qsizetype row = rowForCell();
            if (row >= 0) {
                rows[size_t(row)].emplace_back();
                frames.push_back({Frame::Cell, node, row});
            }
        }
        return true;
    };
    const auto leave = [&](const xmlNode* node) {
        if (!frames.empty() && frames.back().node == node)
            frames.pop_back();
        if (inCell() && isBlock(node))
            rows[size_t(frames.back().row)].back() += ' ';
    };
    walkDocument(document, enter, leave);
    return rows;
}

QStringList rowLines(const std::vector<std::vector<std::string>>& rows) {
    QStringList lines;
    lines.reserve(qsizetype(rows.size()));
    for (const std::vector<std::string>& cells : rows) {
        QStringList texts;
        bool anyText = false;
        for (const std::string& cell : cells) {
            texts.append(cleanLine(cell));
            anyText = anyText || !texts.back().isEmpty();
        }
        if (anyText)
            lines.append(texts.join(u'\t'));
    }
    return lines;
}

QStringList blockLines(xmlDoc* document) {
    QStringList lines;
    std::string line;
    int preformatted = 0;
    const auto endLine = [&] {
        const QString text = cleanLine(line);
        if (!text.isEmpty())
            lines.append(text);
        line.clear();
    };
    const auto enter = [&](const xmlNode* node) {
        if (isText(node)) {
            if (preformatted == 0 || !node->content) {
                appendContent(line, node);
                return false;
            }
            for (const char* at = reinterpret_cast<const char*>(node->content); *at; ++at) {
                if (*at == '\n' || *at == '\r')
                    endLine();
                else
                    line += *at;
            }
            return false;
        }
        if (node->type != XML_ELEMENT_NODE || isUnread(node))
            return false;
        if (isBlock(node))
            endLine();
        if (isPreformatted(node))
            ++preformatted;
        return true;
    };
    const auto leave = [&](const xmlNode* node) {
        if (isPreformatted(node))
            --preformatted;
        if (isBlock(node))
            endLine();
    };
    walkDocument(document, enter, leave);
    endLine();
    return lines;
}

} // namespace

bool mayBeTextPage(QByteArrayView contentType) {
    return kindOfContentType(contentType) != PageKind::NotText;
}

QStringList htmlLines(QStringView html) {
    const QByteArray utf8 = html.toUtf8();
    // The page is UTF-8 now, whatever its meta says: libxml2 is told so and converts nothing itself.
    const std::unique_ptr<xmlDoc, decltype(&xmlFreeDoc)> document(
        htmlReadMemory(utf8.constData(), int(std::min<qsizetype>(utf8.size(), INT_MAX)), nullptr, "UTF-8",
                       kParseOptions),
        xmlFreeDoc);
    if (!document)
        return {};
    QStringList lines = rowLines(tableRows(document.get()));
    if (lines.isEmpty())
        lines = blockLines(document.get());
    return lines;
}

std::optional<QStringList> readPageLines(const QByteArray& body, QByteArrayView contentType) {
    const PageKind kind = kindOfContentType(contentType);
    if (kind == PageKind::NotText)
        return std::nullopt;
    const bool mayBeHtml = kind == PageKind::Html ||
                           (kind == PageKind::Unnamed && beginsAsHtml(QString::fromLatin1(body.left(1024))));
    QString text = decodedPage(body, contentType, mayBeHtml);
    text.remove(QChar(u'\0'));
    if (kind == PageKind::Html || (kind == PageKind::Unnamed && beginsAsHtml(text)))
        return htmlLines(text);
    return splitLineEnds(text);
}

} // namespace dravik
