#include "ui/translate.h"

#include <QCoreApplication>
#include <cstring>

#include "platform/qt/text.h"

namespace {

// The extraction run has no Qt (audio/): its rows and messages are listed
// here for the translators, under one context.
constexpr const char* kExtractContext = "IExtractReport";
constexpr const char* kExtractFormats[] = {
    QT_TRANSLATE_NOOP("IExtractReport", "Output file: %s Done"),
    QT_TRANSLATE_NOOP("IExtractReport", "Output file: %s Partial"),
};
[[maybe_unused]] constexpr const char* kExtractTexts[] = {
    QT_TRANSLATE_NOOP("IExtractReport", "Error No items were selected!"),
    QT_TRANSLATE_NOOP("IExtractReport", "Error could not open file\n\n%s"),
    QT_TRANSLATE_NOOP("IExtractReport", "Error reading first two charactes fromfile"),
    QT_TRANSLATE_NOOP("IExtractReport", "Error File is not a jpg........................................"),
    QT_TRANSLATE_NOOP("IExtractReport", "Error File missing APP1 0xe1ff marker"),
    QT_TRANSLATE_NOOP("IExtractReport", "Error reading four charactes fromfile"),
    QT_TRANSLATE_NOOP("IExtractReport", "Error cant open/create output file\n%s"),
    QT_TRANSLATE_NOOP("IExtractReport", "Error cant open/create output file"),
    QT_TRANSLATE_NOOP("IExtractReport", "Error writing output file\n%s"),
    QT_TRANSLATE_NOOP("IExtractReport", "Error writing output file"),
    QT_TRANSLATE_NOOP("IExtractReport", "Error reading sound data from file\n%s"),
    QT_TRANSLATE_NOOP("IExtractReport", "Error sound data in file is cut short\n%s"),
    QT_TRANSLATE_NOOP("IExtractReport", "Error sound data cut short, no output file written"),
    QT_TRANSLATE_NOOP("IExtractReport", "Error sound data larger than 256 MB\n%s"),
    QT_TRANSLATE_NOOP("IExtractReport", "Error sound data larger than 256 MB, no output file written"),
    QT_TRANSLATE_NOOP("IExtractReport", "Error sound too long for a PCM WAV file (over 4 GB)\n%s"),
    QT_TRANSLATE_NOOP("IExtractReport", "Error sound too long for a PCM WAV file, no output file written"),
    QT_TRANSLATE_NOOP("IExtractReport", "Sound format not decoded, written as stored"),
    QT_TRANSLATE_NOOP("IExtractReport", "No Audio in file...................................................."),
};

// Where a memo is, as audio/ words it for the Sound tooltip and the preview.
constexpr const char* kPlaceContext = "CResultsList";
constexpr const char* kPlaceFormats[] = {
    QT_TRANSLATE_NOOP("CResultsList", "beside it: %s"),
};
[[maybe_unused]] constexpr const char* kPlaceTexts[] = {
    QT_TRANSLATE_NOOP("CResultsList", "inside the picture"),
    QT_TRANSLATE_NOOP("CResultsList", "in the phone's trailer"),
    QT_TRANSLATE_NOOP("CResultsList", "in the FlashPix file"),
};

// The printf conversions of a format, in order ("%%" is none).
CString Conversions(const CString& format)
{
    CString conversions;
    for (size_t i = 0; i + 1 < format.size(); ++i) {
        if (format[i] != '%')
            continue;
        size_t end = i + 1;
        while (end < format.size() && std::strchr("-+ #0123456789.hlLqjzt", format[end]))
            ++end;
        if (end < format.size() && format[end] != '%')
            conversions += format.substr(i, end + 1 - i) + '|';
        i = end;
    }
    return conversions;
}

} // namespace

CString TrText(const char* context, const char* source)
{
    // A text without a translation keeps its bytes: a path need not be UTF-8.
    const QString translated = QCoreApplication::translate(context, source);
    return translated == QString::fromUtf8(source) ? CString(source) : FromDisplay(translated);
}

CString TrFormat(const char* context, const char* format)
{
    CString translated = TrText(context, format);
    return Conversions(translated) == Conversions(format) ? translated : CString(format);
}

namespace {

// A text by its English: a fixed one as it is, one made from a format with
// a single %s by the format whose head and tail it has, its middle (a path
// or name) kept as it is.
template <size_t N>
CString TrByEnglish(const char* context, const char* const (&formats)[N], const CString& text)
{
    for (const char* format : formats) {
        const CString pattern = format;
        const size_t at = pattern.find("%s");
        const CString head = pattern.substr(0, at);
        const CString tail = pattern.substr(at + 2);
        if (text.size() >= head.size() + tail.size() && text.compare(0, head.size(), head) == 0
            && text.compare(text.size() - tail.size(), tail.size(), tail) == 0) {
            const CString middle = text.substr(head.size(), text.size() - head.size() - tail.size());
            return FormatText(TrFormat(context, format).c_str(), middle.c_str());
        }
    }
    return TrText(context, text.c_str());
}

} // namespace

CString TrExtractText(const CString& text)
{
    return TrByEnglish(kExtractContext, kExtractFormats, text);
}

CString TrMemoPlace(const CString& place)
{
    return TrByEnglish(kPlaceContext, kPlaceFormats, place);
}
