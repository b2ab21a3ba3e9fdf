// A controller behind the fake library, a settings file with every section, and a status line
// and message boxes that record what the windows report.
#pragma once

#include <gtest/gtest.h>

#include <QStringList>
#include <QTemporaryDir>
#include <optional>
#include <string>

#include "link/fake/fake_zel_library.h"
#include "resources/paged_window_model.h"
#include "resources/resource_services.h"
#include "settings/first_run.h"
#include "trends/trend_item.h"

namespace zel::test {

class ResourceFixture : public ::testing::Test {
public:
    // Types `text` into the value box of row r and presses Enter.
    static void enter(PagedWindowModel& model, int r, const QString& text) {
        model.valueKey(r, text.isEmpty() ? QChar(u'0') : text.at(0));
        model.setValueText(r, text);
        model.valueKey(r, QChar(13));
    }

    static void jump(PagedWindowModel& model, const QString& text) {
        model.gotoKey(text.isEmpty() ? QChar(u' ') : text.at(0));
        model.setGotoText(text);
        model.gotoKey(QChar(13));
    }

protected:
    QTemporaryDir dir;
    AppState state;
    FakeZelLibrary lib;
    settings::SettingsStore store{dir.filePath(QStringLiteral("settings.conf"))};
    QStringList messages;
    QStringList boxes;
    std::function<void()> onPump;  // runs where the tick lets events run
    int pumps = 0;

    void SetUp() override {
        store.load(settings::firstRunSettings());
        state.connection.CommHandle = FakeZelLibrary::kHandle;
        state.flags.NoCommunication = false;
        state.flags.CommErrorFlag = false;
        // flags, inputs, outputs, steppers, servos, analog ins, analog outs
        state.connection.Counts.setMain({64, 16, 16, 0, 4, 8, 4});
    }

    ResourceServices services() {
        return {state,
                lib,
                store,
                nullptr,
                [this](const QString& t) { messages << t; },
                [this](const QString& t) { boxes << t; }};
    }

    PollContext context() {
        return PollContext(state, lib, [this] {
            ++pumps;
            if (onPump) onPump();
        });
    }

    // Runs a window's block of the tick and returns the registers it read, in order.
    QList<int32_t> tick(PollBlock& block) {
        lib.clearCalls();
        PollContext c = context();
        block.refresh(c);
        return registersRead();
    }

    QList<int32_t> registersRead() const {
        QList<int32_t> read;
        for (const QString& call : lib.callsTo(ZelCall::GetRegister))
            read << call.section(u',', 1).chopped(1).trimmed().toInt();
        return read;
    }
};

// A row's Add to Trend item as "Flag 7 @ bit 6 of 13021" or "Register 120 @ register 120".
inline std::string trendText(const std::optional<TrendItem>& item) {
    if (!item) return "none";
    const TrendSource& s = item->source;
    const std::string where =
        s.kind == TrendSource::Kind::Bit
            ? "bit " + std::to_string(s.index) + " of " + std::to_string(s.number)
            : "register " + std::to_string(s.number);
    return item->name.toStdString() + " @ " + where;
}

inline QList<int32_t> range(int32_t first, int32_t last) {
    QList<int32_t> numbers;
    for (int32_t n = first; n <= last; ++n) numbers << n;
    return numbers;
}

}  // namespace zel::test
