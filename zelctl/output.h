// Rows printed in the form asked for: aligned text, JSON or comma-separated values. A listing
// is printed when it is finished; a stream (watch) prints each row as it comes, as a text line,
// a JSON object per line, or a CSV row.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <cstdio>

#include "zelctl/arguments.h"

namespace zel::ctl {

class Output {
public:
    // `numeric` marks the columns whose non-empty cells are numbers in JSON.
    Output(OutputForm form, QStringList headers, QList<bool> numeric, bool stream = false,
           FILE* out = stdout);

    void add(const QStringList& cells);
    // Prints a listing; a stream has nothing left to print.
    void finish();

private:
    QByteArray jsonObject(const QStringList& cells) const;
    void print(const QByteArray& bytes);

    OutputForm form_;
    QStringList headers_;
    QList<bool> numeric_;
    bool stream_;
    FILE* out_;
    QList<QStringList> rows_;
};

// A CSV field: quoted, quotes doubled, when it holds a comma, a quote or a line end.
QString csvField(const QString& text);

}  // namespace zel::ctl
