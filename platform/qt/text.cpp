#include "platform/qt/text.h"

#include <algorithm>

// Every byte that is not part of valid UTF-8 is held as a lone surrogate
// U+DC80..U+DCFF, which no valid text contains: a widget then shows a mark
// for it, and the text comes back as the very bytes it was made from, so a
// folder whose name is not valid UTF-8 is still the folder searched.
namespace {

constexpr char16_t kEscapeBase = 0xDC00;

} // namespace

QString ToDisplay(const CString& bytes)
{
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const size_t n = bytes.size();
    if (std::all_of(p, p + n, [](unsigned char c) { return c < 0x80; }))
        return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(n));
    QString out;
    out.reserve(static_cast<qsizetype>(n));
    for (size_t i = 0; i < n;) {
        char32_t code = 0;
        const size_t length = Utf8SequenceAt(p + i, n - i, code);
        if (length == 0) {
            out += QChar(static_cast<char16_t>(kEscapeBase + p[i]));
            ++i;
            continue;
        }
        if (code >= 0x10000) {
            out += QChar(QChar::highSurrogate(code));
            out += QChar(QChar::lowSurrogate(code));
        } else {
            out += QChar(static_cast<char16_t>(code));
        }
        i += length;
    }
    return out;
}

CString FromDisplay(const QString& text)
{
    CString out;
    out.reserve(static_cast<size_t>(text.size()));
    for (qsizetype i = 0; i < text.size(); ++i) {
        char32_t code = text[i].unicode();
        if (QChar::isHighSurrogate(code) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            code = QChar::surrogateToUcs4(text[i], text[i + 1]);
            ++i;
        } else if (code >= kEscapeBase + 0x80 && code <= kEscapeBase + 0xFF) {
            out += static_cast<char>(code - kEscapeBase);
            continue;
        } else if (QChar::isSurrogate(code)) {
            code = 0xFFFD;
        }
        if (code < 0x80) {
            out += static_cast<char>(code);
        } else if (code < 0x800) {
            out += static_cast<char>(0xC0 | code >> 6);
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else if (code < 0x10000) {
            out += static_cast<char>(0xE0 | code >> 12);
            out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | code >> 18);
            out += static_cast<char>(0x80 | (code >> 12 & 0x3F));
            out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        }
    }
    return out;
}

QUrl FileUrl(const CString& path)
{
    const QByteArray bytes(path.data(), static_cast<qsizetype>(path.size()));
    return QUrl::fromEncoded("file://" + bytes.toPercentEncoding("/"));
}
