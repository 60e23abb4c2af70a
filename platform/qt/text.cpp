#include "platform/qt/text.h"

QString ToDisplay(const CString& bytes)
{
    return QString::fromLocal8Bit(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

CString FromDisplay(const QString& text)
{
    const QByteArray bytes = text.toLocal8Bit();
    return CString(bytes.constData(), static_cast<size_t>(bytes.size()));
}
