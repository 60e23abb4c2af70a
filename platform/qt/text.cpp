#include "platform/qt/text.h"

#include <QChar>

namespace {

// Decodes one UTF-8 sequence at text[i]; answers its length, or 0 when the
// bytes there are not a valid, shortest-form sequence.
size_t DecodeUtf8(const CString& text, size_t i, char32_t& code)
{
    const auto byte = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    size_t length;
    char32_t min;
    if (lead < 0x80) {
        code = lead;
        return 1;
    } else if ((lead & 0xE0) == 0xC0) {
        length = 2, code = lead & 0x1F, min = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, code = lead & 0x0F, min = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, code = lead & 0x07, min = 0x10000;
    } else {
        return 0;
    }
    if (i + length > text.size())
        return 0;
    for (size_t k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80)
            return 0;
        code = code << 6 | (byte(i + k) & 0x3F);
    }
    if (code < min || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return 0;
    return length;
}

void AppendUtf8(CString& out, char32_t code)
{
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

} // namespace

CString FoldCase(const CString& text)
{
    CString out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        char32_t code = 0;
        const size_t length = DecodeUtf8(text, i, code);
        if (length == 0) {
            // 0xFF never occurs in UTF-8: it marks a raw byte in the key.
            out += '\xFF';
            out += text[i];
            ++i;
            continue;
        }
        if (code < 0x80)
            out += static_cast<char>(code >= 'A' && code <= 'Z' ? code + ('a' - 'A') : code);
        else
            AppendUtf8(out, QChar::toCaseFolded(code));
        i += length;
    }
    return out;
}

QString ToDisplay(const CString& bytes)
{
    return QString::fromLocal8Bit(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

CString FromDisplay(const QString& text)
{
    const QByteArray bytes = text.toLocal8Bit();
    return CString(bytes.constData(), static_cast<size_t>(bytes.size()));
}
