#include "datatable/frm_table_mon.h"

#include <QFormLayout>
#include <QKeyEvent>
#include <QLineEdit>

#include "common/key_codes.h"

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
    if (event->type() == QEvent::FocusOut) {
        model_.leave(field);
        draw();
        return false;
    }
    if (event->type() != QEvent::KeyPress) return false;
    // The model takes keys as the characters they type, Enter as 13; keys that type nothing
    // (arrows, Tab) are not its business.
    const auto* key = static_cast<QKeyEvent*>(event);
    const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
    if (!enter && key->text().isEmpty()) return false;
    const bool consumed = model_.keyPress(field, enter ? kEnterKey : key->text().front().unicode());
    draw();
    return consumed;
}

}  // namespace zel
