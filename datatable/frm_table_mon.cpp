#include "datatable/frm_table_mon.h"

#include <QFormLayout>
#include <QKeyEvent>
#include <QLineEdit>

#include "common/form_keys.h"

namespace zel {
namespace {

struct Field {
    MonitorField field;
    const char* name;
    const char* caption;
};

constexpr Field kFields[] = {
    {MonitorField::Interval, "txtMonInt", "Monitor Interval (ms):"},
    {MonitorField::StartRow, "txtMonStartRow", "Starting Row to Monitor:"},
    {MonitorField::EndRow, "txtMonEndRow", "Ending Row to Monitor:"},
};

}  // namespace

frmTableMon::frmTableMon(DataTable& table, TableMonitorRange::IntervalSink intervalChanged,
                         QWidget* parent)
    : QWidget(parent, Qt::Window), model_(table, std::move(intervalChanged)) {
    setObjectName(QStringLiteral("frmTableMon"));
    setWindowTitle(QStringLiteral("Data Table Monitor Setup"));
    auto* layout = new QFormLayout(this);
    for (size_t i = 0; i < fields_.size(); ++i) {
        fields_[i] = new QLineEdit(this);
        fields_[i]->setObjectName(QString::fromLatin1(kFields[i].name));
        fields_[i]->setProperty("field", static_cast<int>(i));
        fields_[i]->installEventFilter(this);
        connect(fields_[i], &QLineEdit::textEdited, this,
                [this, i](const QString& text) { model_.setText(kFields[i].field, text); });
        layout->addRow(QString::fromLatin1(kFields[i].caption), fields_[i]);
    }
}

void frmTableMon::open() {
    model_.open();
    draw();
    show();
    raise();
}

void frmTableMon::draw() {
    for (size_t i = 0; i < fields_.size(); ++i) {
        const QString& text = model_.text(kFields[i].field);
        if (fields_[i]->text() != text) fields_[i]->setText(text);
    }
}

bool frmTableMon::eventFilter(QObject* watched, QEvent* event) {
    const QVariant index = watched->property("field");
    if (!index.isValid()) return QWidget::eventFilter(watched, event);
    const MonitorField field = kFields[index.toInt()].field;
    if (leavesBox(*event)) {
        model_.leave(field);
        draw();
        return false;
    }
    if (event->type() != QEvent::KeyPress) return false;
    const std::optional<QChar> key = typedKey(static_cast<const QKeyEvent&>(*event));
    if (!key) return false;
    const bool consumed = model_.keyPress(field, key->unicode());
    draw();
    return consumed;
}

}  // namespace zel
