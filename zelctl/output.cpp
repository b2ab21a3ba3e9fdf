#include "zelctl/output.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>

namespace zel::ctl {

QString csvField(const QString& text) {
    if (!text.contains(u',') && !text.contains(u'"') && !text.contains(u'\n')) return text;
    QString quoted = text;
    return u'"' + quoted.replace(u'"', QStringLiteral("\"\"")) + u'"';
}

Output::Output(OutputForm form, QStringList headers, QList<bool> numeric, bool stream, FILE* out)
    : form_(form),
      headers_(std::move(headers)),
      numeric_(std::move(numeric)),
      stream_(stream),
      out_(out) {
    if (stream_ && form_ == OutputForm::Csv) add(headers_);
}

void Output::print(const QByteArray& bytes) {
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), out_);
    if (stream_) std::fflush(out_);
}

QByteArray Output::jsonObject(const QStringList& cells) const {
    QJsonObject object;
    for (qsizetype i = 0; i < headers_.size(); ++i) {
        const QString key = headers_[i].toLower().replace(u' ', u'_');
        const QString& cell = cells.value(i);
        // A value the controller did not give ("*") stays text.
        bool isNumber = false;
        const double number = numeric_.value(i) ? cell.toDouble(&isNumber) : 0.0;
        if (isNumber)
            object.insert(key, number);
        else
            object.insert(key, cell);
    }
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

void Output::add(const QStringList& cells) {
    if (!stream_) {
        rows_ << cells;
        return;
    }
    switch (form_) {
        case OutputForm::Text:
            print(cells.join(QStringLiteral("  ")).toUtf8() + '\n');
            break;
        case OutputForm::Json:
            print(jsonObject(cells) + '\n');
            break;
        case OutputForm::Csv: {
            QStringList fields;
            for (const QString& cell : cells) fields << csvField(cell);
            print(fields.join(u',').toUtf8() + "\r\n");
            break;
        }
    }
}

void Output::finish() {
    if (stream_) return;
    if (form_ == OutputForm::Json) {
        QByteArray text = "[";
        for (qsizetype i = 0; i < rows_.size(); ++i)
            text += (i ? ",\n " : "") + jsonObject(rows_[i]);
        print(text + "]\n");
        return;
    }
    if (form_ == OutputForm::Csv) {
        stream_ = true;
        add(headers_);
        for (const QStringList& row : rows_) add(row);
        return;
    }
    QList<qsizetype> widths;
    for (const QString& h : headers_) widths << h.size();
    for (const QStringList& row : rows_)
        for (qsizetype i = 0; i < row.size() && i < widths.size(); ++i)
            widths[i] = std::max(widths[i], row[i].size());
    QByteArray text;
    const auto line = [&](const QStringList& cells) {
        QString l;
        for (qsizetype i = 0; i < cells.size(); ++i) {
            // Numbers line up on the right, words on the left; the last column is not padded.
            const bool last = i + 1 == cells.size();
            if (i) l += QStringLiteral("  ");
            l += numeric_.value(i) ? cells[i].rightJustified(widths[i])
                 : last           ? cells[i]
                                  : cells[i].leftJustified(widths[i]);
        }
        text += l.toUtf8() + '\n';
    };
    line(headers_);
    for (const QStringList& row : rows_) line(row);
    print(text);
}

}  // namespace zel::ctl
