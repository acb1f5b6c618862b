#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace dravik {

// The charset parameter of a Content-Type header value ("text/html; charset=GBK" gives "GBK"); empty
// when there is none.
QByteArray charsetOfContentType(QByteArrayView contentType);

// The charset that an http-equiv Content-Type meta element of an HTML page declares; empty when the
// page has none.
QByteArray charsetOfMeta(QByteArrayView page);

// The name to decode a page's declared charset by: the Simplified Chinese names GB2312, GBK and x-gbk
// as GB18030, their superset, as browsers do (pages labelled GB2312 commonly hold GBK characters as
// well); any other name as it is.
QByteArray decoderNameOfCharset(const QByteArray& charset);

// The page text of an HTTP body: decoded by the charset of the Content-Type header, else by that of
// the page's http-equiv meta; with neither, or a charset not known here, every byte is one character
// of the same code. Bytes not valid in the charset become replacement characters.
QString decodePageText(const QByteArray& body, QByteArrayView contentType);

} // namespace dravik
