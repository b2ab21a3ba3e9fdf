#include "settings/field_escape.h"
#include "settings/settings_format.h"
#include "settings/settings_format_tokens.h"

#include <algorithm>
#include <charconv>

namespace zel::settings {
namespace {

// Only what the writer produces: an optional '-' and decimal digits, no spaces, no '+'.
std::optional<std::int32_t> parseNumber(QByteArrayView text) {
    if (text.isEmpty()) return std::nullopt;
    std::int32_t number = 0;
    const char* end = text.data() + text.size();
    const auto [last, error] = std::from_chars(text.data(), end, number);
    if (error != std::errc{} || last != end) return std::nullopt;
    return number;
}

// Reads the lines after the format line; each step either accepts a line or says what is wrong.
class LineParser {
public:
    bool accept(QByteArrayView line);
    bool ended() const { return ended_; }
    const QString& what() const { return what_; }
    SettingsData take() { return std::move(data_); }

private:
    bool fail(QString what) {
        what_ = std::move(what);
        return false;
    }
    bool acceptSection(QByteArrayView line);
    bool acceptValue(QByteArrayView line);
    bool parseValue(QByteArrayView text, SettingsValue& value);

    SettingsData data_;
    SettingsSection* section_ = nullptr;
    bool ended_ = false;
    QString what_;
};

bool LineParser::accept(QByteArrayView line) {
    if (ended_) return fail(QStringLiteral("text after the END line"));
    if (line == kEndLine) {
        ended_ = true;
        return true;
    }
    if (line.isEmpty() || line.front() == '#') return true;
    if (line.front() == '[') return acceptSection(line);
    return acceptValue(line);
}

bool LineParser::acceptSection(QByteArrayView line) {
    if (line.size() < 3 || line.back() != ']') return fail(QStringLiteral("bad section line"));
    QString path;
    QString what;
    if (!unescapeField(line.sliced(1, line.size() - 2), path, what)) return fail(what);
    const auto [it, inserted] = data_.try_emplace(path);
    if (!inserted) return fail(QStringLiteral("section \"%1\" appears twice").arg(path));
    section_ = &it->second;
    return true;
}

bool LineParser::acceptValue(QByteArrayView line) {
    const qsizetype equals = line.indexOf('=');
    if (equals < 0) return fail(QStringLiteral("line is not a section, a value or a comment"));
    if (!section_) return fail(QStringLiteral("value before the first section"));
    QString name;
    QString what;
    if (!unescapeField(line.first(equals), name, what)) return fail(what);
    SettingsValue value;
    if (!parseValue(line.sliced(equals + 1), value)) return false;
    if (!section_->try_emplace(name, std::move(value)).second) {
        return fail(QStringLiteral("value \"%1\" appears twice in its section").arg(name));
    }
    return true;
}

bool LineParser::parseValue(QByteArrayView text, SettingsValue& value) {
    if (text.startsWith('"')) {
        if (text.size() < 2 || !text.endsWith('"'))
            return fail(QStringLiteral("text without closing quote"));
        QString decoded;
        QString what;
        if (!unescapeField(text.sliced(1, text.size() - 2), decoded, what)) return fail(what);
        value = std::move(decoded);
        return true;
    }
    const std::optional<std::int32_t> number = parseNumber(text);
    if (!number) {
        return fail(QStringLiteral("\"%1\" is not a 32-bit number")
                        .arg(QString::fromUtf8(text.first(std::min<qsizetype>(text.size(), 40)))));
    }
    value = *number;
    return true;
}

}  // namespace

QString ReadError::text() const {
    return line > 0 ? QStringLiteral("line %1: %2").arg(line).arg(what) : what;
}

ReadResult readSettings(QByteArrayView bytes) {
    auto damaged = [](int line, QString what) {
        return ReadResult{{}, ReadError{line, std::move(what)}};
    };
    if (bytes.isEmpty()) return damaged(0, QStringLiteral("file is empty"));
    if (bytes.size() > kMaxSettingsFileBytes)
        return damaged(0, QStringLiteral("file is larger than 1 MiB"));
    if (!bytes.endsWith('\n'))
        return damaged(0, QStringLiteral("last line is incomplete; the file was cut short"));

    LineParser parser;
    int lineNumber = 0;
    qsizetype start = 0;
    while (start < bytes.size()) {
        const qsizetype end = bytes.indexOf('\n', start);
        const QByteArrayView line = bytes.sliced(start, end - start);
        start = end + 1;
        ++lineNumber;
        if (lineNumber == 1) {
            if (line != kFormatLine)
                return damaged(1, QStringLiteral("not a ZEL Monitor settings file"));
        } else if (!parser.accept(line)) {
            return damaged(lineNumber, parser.what());
        }
    }
    if (!parser.ended())
        return damaged(0, QStringLiteral("END line missing; the file was cut short"));
    return ReadResult{parser.take(), std::nullopt};
}

ReadResult readSettings(QIODevice& device) {
    if (!device.isReadable()) {
        return ReadResult{
            {}, ReadError{0, QStringLiteral("cannot read: %1").arg(device.errorString())}};
    }
    return readSettings(QByteArrayView(device.read(kMaxSettingsFileBytes + 1)));
}

}  // namespace zel::settings
