#include "download/page_lines.h"

#include "download/page_text.h"
#include "storage/record_file.h"
#include "storage/text_codec.h"

#include <algorithm>
#include <climits>
#include <libxml/HTMLparser.h>
#include <libxml/parser.h>
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

// libxml2 calls every handler with the parser, which carries ours.
template <typename Handler> Handler& handlerOf(void* parser) {
    return *static_cast<Handler*>(static_cast<htmlParserCtxtPtr>(parser)->_private);
}

// Feeds the bytes, in `encoding`, to libxml2's HTML parser and its events to the handler as they come:
// startElement(name, attributes) (false stops the parser), endElement() (for every element started,
// in order), text(characters, length) for text outside script and style, character references
// decoded. No tree is built: building and freeing one took twice as long as the parse itself.
template <typename Handler> void parseHtml(QByteArrayView bytes, const char* encoding, Handler& handler) {
    const std::unique_ptr<htmlParserCtxt, decltype(&htmlFreeParserCtxt)> parser(htmlNewParserCtxt(),
                                                                                htmlFreeParserCtxt);
    if (!parser)
        return;
    *parser->sax = htmlSAXHandler{};
    parser->_private = &handler;
    parser->sax->startElement = [](void* parser, const xmlChar* name, const xmlChar** attributes) {
        if (!handlerOf<Handler>(parser).startElement(reinterpret_cast<const char*>(name), attributes))
            xmlStopParser(static_cast<htmlParserCtxtPtr>(parser));
    };
    parser->sax->endElement = [](void* parser, const xmlChar*) { handlerOf<Handler>(parser).endElement(); };
    const auto text = [](void* parser, const xmlChar* characters, int length) {
        handlerOf<Handler>(parser).text(reinterpret_cast<const char*>(characters), size_t(length));
    };
    // Blanks the parser deems ignorable part words all the same.
    parser->sax->characters = text;
    parser->sax->ignorableWhitespace = text;
    parser->sax->cdataBlock = [](void*, const xmlChar*, int) {}; // script and style
    htmlCtxtReadMemory(parser.get(), bytes.data(), int(std::min<qsizetype>(bytes.size(), INT_MAX)), nullptr,
                       encoding, kParseOptions);
    if (parser->myDoc)
        xmlFreeDoc(parser->myDoc);
}

// The charset of the first meta element that declares one, found by libxml2's parser reading the
// bytes one character each (the names are ASCII in every charset a page declares that way). Stops at
// that element.
QByteArray metaCharset(const QByteArray& page) {
    struct MetaSearch {
        QByteArray charset;

        bool startElement(const char* name, const xmlChar** attributes) {
            if (qstricmp(name, "meta") != 0 || !attributes)
                return true;
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
            return charset.isEmpty();
        }
        void endElement() {}
        void text(const char*, size_t) {}
    } search;
    const QByteArray withoutNul = page.contains('\0') ? QByteArray(page).replace('\0', "") : page;
    parseHtml(withoutNul, "ISO-8859-1", search);
    return search.charset;
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
        if (charset.toLower().startsWith("utf-16"))
            charset = "UTF-8";
        if (std::optional<QString> text = decodedAs(body, charset))
            return *text;
    }
    return decodeText(body).text;
}

bool isOneOf(std::string_view name, const std::unordered_set<std::string_view>& names) {
    return names.count(name) > 0;
}

// Elements whose content is no text of the page.
bool isUnread(std::string_view name) {
    static const std::unordered_set<std::string_view> names = {"head", "script", "style", "template",
                                                               "title"};
    return isOneOf(name, names);
}

// Elements that end a line of block text, and part words inside a table cell.
bool isBlock(std::string_view name) {
    static const std::unordered_set<std::string_view> names = {
        "address", "article", "aside",  "blockquote", "br",        "caption", "center",   "dd",
        "details", "dialog",  "dir",    "div",        "dl",        "dt",      "fieldset", "figcaption",
        "figure",  "footer",  "form",   "h1",         "h2",        "h3",      "h4",       "h5",
        "h6",      "header",  "hgroup", "hr",         "li",        "listing", "main",     "menu",
        "nav",     "ol",      "option", "p",          "plaintext", "pre",     "section",  "summary",
        "table",   "tbody",   "td",     "textarea",   "tfoot",     "th",      "thead",    "tr",
        "ul",      "xmp",
    };
    return isOneOf(name, names);
}

// Elements whose text keeps its line ends.
bool isPreformatted(std::string_view name) {
    static const std::unordered_set<std::string_view> names = {"pre", "textarea", "listing", "plaintext",
                                                               "xmp"};
    return isOneOf(name, names);
}

// A line of UTF-8 text with its white space made one blank and none at either end; empty when nothing
// else is left.
QString cleanLine(const std::string& text) {
    return QString::fromUtf8(text.data(), qsizetype(text.size())).simplified();
}

// What the page's elements mean for its lines, element by element as the parser meets them: the open
// elements on a stack, and what each of them began.
class HtmlText {
public:
    bool startElement(const char* name, const xmlChar**) {
        Element element;
        if (unread_ > 0 || isUnread(name)) {
            ++unread_;
            element.unread = true;
        } else {
            element.block = isBlock(name);
            element.preformatted = isPreformatted(name);
            element.frame = start(name, element);
        }
        open_.push_back(element);
        return true;
    }

    void endElement() {
        if (open_.empty())
            return;
        const Element element = open_.back();
        open_.pop_back();
        if (element.unread)
            --unread_;
        else
            end(element);
    }

    void text(const char* characters, size_t length) {
        if (unread_ == 0)
            add(std::string_view(characters, length));
    }

protected:
    struct Element {
        bool unread = false;
        bool block = false;
        bool preformatted = false;
        bool frame = false; // began a table, row or cell
    };

    virtual ~HtmlText() = default;
    // Gives whether the element began a table, row or cell.
    virtual bool start(std::string_view name, const Element& element) = 0;
    virtual void end(const Element& element) = 0;
    virtual void add(std::string_view text) = 0;

private:
    std::vector<Element> open_;
    int unread_ = 0; // how many open elements are unread
};

// The lines of the page's table rows.
class TableRows : public HtmlText {
public:
    QStringList lines() const {
        QStringList lines;
        lines.reserve(qsizetype(rows_.size()));
        for (const std::vector<std::string>& cells : rows_) {
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

private:
    struct Frame {
        enum Kind { Table, Row, Cell } kind;
        // Row and Cell: the row's index. Table: the index of the row its cells outside any row make,
        // while one is open, else -1.
        qsizetype row;
    };

    bool inCell() const { return !frames_.empty() && frames_.back().kind == Frame::Cell; }
    std::string& cell() { return rows_[size_t(frames_.back().row)].back(); }

    qsizetype newRow() {
        rows_.emplace_back();
        return qsizetype(rows_.size()) - 1;
    }

    // The row a new cell belongs to: that of the innermost row or table around it; -1 outside any.
    qsizetype rowForCell() {
        for (auto frame = frames_.rbegin(); frame != frames_.rend(); ++frame) {
            if (frame->kind == Frame::Row)
                return frame->row;
            if (frame->kind == Frame::Table) {
                if (frame->row < 0)
                    frame->row = newRow();
                return frame->row;
            }
        }
        return -1;
    }

    bool start(std::string_view name, const Element& element) override {
        if (inCell() && element.block)
            cell() += ' ';
        if (name == "table") {
            frames_.push_back({Frame::Table, -1});
        } else if (name == "tr") {
            if (!frames_.empty() && frames_.back().kind == Frame::Table)
                frames_.back().row = -1; // cells after this row make a row of their own
            frames_.push_back({Frame::Row, newRow()});
        } else if (name == "td" || name == "th") {
            const qsizetype row = rowForCell();
            if (row < 0)
                return false;
            rows_[size_t(row)].emplace_back();
            frames_.push_back({Frame::Cell, row});
        } else {
            return false;
        }
        return true;
    }

    void end(const Element& element) override {
        if (element.frame)
            frames_.pop_back();
        if (inCell() && element.block)
            cell() += ' ';
    }

    void add(std::string_view text) override {
        if (inCell())
            cell() += text;
    }

    std::vector<std::vector<std::string>> rows_; // the cells of every row, in the order the rows start
    std::vector<Frame> frames_;
};

// The lines of the page's blocks.
class BlockLines : public HtmlText {
public:
    QStringList lines() {
        endLine();
        return lines_;
    }

private:
    void endLine() {
        const QString text = cleanLine(line_);
        if (!text.isEmpty())
            lines_.append(text);
        line_.clear();
    }

    bool start(std::string_view, const Element& element) override {
        if (element.block)
            endLine();
        if (element.preformatted)
            ++preformatted_;
        return false;
    }

    void end(const Element& element) override {
        if (element.preformatted)
            --preformatted_;
        if (element.block)
            endLine();
    }

    void add(std::string_view text) override {
        if (preformatted_ == 0) {
            line_ += text;
            return;
        }
        for (const char c : text) {
            if (c == '\n' || c == '\r')
                endLine();
            else
                line_ += c;
        }
    }

    QStringList lines_;
    std::string line_;
    int preformatted_ = 0;
};

} // namespace

bool mayBeTextPage(QByteArrayView contentType) {
    return kindOfContentType(contentType) != PageKind::NotText;
}

QStringList htmlLines(QStringView html) {
    // The page is UTF-8 now, whatever its meta says: libxml2 is told so and converts nothing itself.
    const QByteArray utf8 = html.toUtf8();
    TableRows rows;
    parseHtml(utf8, "UTF-8", rows);
    QStringList lines = rows.lines();
    if (!lines.isEmpty())
        return lines;
    BlockLines blocks;
    parseHtml(utf8, "UTF-8", blocks);
    return blocks.lines();
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
