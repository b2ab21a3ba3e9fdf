#include "settings/field_escape.h"

#include <QStringDecoder>

namespace zel::settings {
namespace {

bool isReserved(unsigned char byte) {
    switch (byte) {
        case '%':
        case '"':
        case '=':
        case '[':
        case ']':
        case '#':
        case 0x7F:
            return true;
        default:
            return byte < 0x20;
    }
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

}  // namespace

QByteArray escapeField(const QString& text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    const QByteArray utf8 = text.toUtf8();
    QByteArray out;
    out.reserve(utf8.size());
    for (const char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        if (isReserved(byte)) {
            out.append('%').append(kHex[byte >> 4]).append(kHex[byte & 0x0F]);
        } else {
            out.append(c);
        }
    }
    return out;
}

bool unescapeField(QByteArrayView field, QString& text, QString& what) {
    QByteArray bytes;
    bytes.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        const auto byte = static_cast<unsigned char>(field[i]);
        if (byte != '%') {
            if (isReserved(byte)) {
                what =
                    QStringLiteral("unescaped character 0x%1").arg(byte, 2, 16, QLatin1Char('0'));
                return false;
            }
            bytes.append(static_cast<char>(byte));
            continue;
        }
        const int high = i + 2 < field.size() ? hexDigit(field[i + 1]) : -1;
        const int low = high >= 0 ? hexDigit(field[i + 2]) : -1;
        if (low < 0) {
            what = QStringLiteral("'%' not followed by two hex digits");
            return false;
        }
        bytes.append(static_cast<char>(high * 16 + low));
        i += 2;
    }
    // A leading byte order mark is part of the text, not a marker to drop.
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless |
                                                     QStringDecoder::Flag::ConvertInitialBom);
    QString decoded = decoder(bytes);
    if (decoder.hasError()) {
        what = QStringLiteral("text is not valid UTF-8");
        return false;
    }
    text = std::move(decoded);
    return true;
}

}  // namespace zel::settings
