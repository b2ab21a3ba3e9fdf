// Rows named from a real symbol database built from a symbol file.
#include <QBuffer>

#include "resources/digital_window_model.h"
#include "symbols/import_progress.h"
#include "resources/register_window_model.h"
#include "resource_fixture.h"
#include "resources/servo_model.h"
#include "symbols/symbol_import.h"

using namespace zel;
using zel::test::ResourceFixture;

namespace {

class SymbolNames : public ResourceFixture {
protected:
    FileSettings files{{}, {}, {}, QStringLiteral("plant.SYM")};
    symbols::SymbolDatabase db{files, dir.filePath(QStringLiteral("symbols"))};

    void load(const QByteArray& text) {
        ASSERT_TRUE(db.CreateSymbolDatabase()) << db.errorText().toStdString();
        QBuffer buffer;
        buffer.setData(text);
        ASSERT_TRUE(buffer.open(QIODevice::ReadOnly));
        symbols::ImportProgress progress;
        ASSERT_TRUE(symbols::importSymbols(buffer, db, progress).ok);
        db.OpenSymbolQueries();
    }
    ResourceServices named() {
        ResourceServices s = services();
        s.symbols = &db;
        return s;
    }
};

}  // namespace

TEST_F(SymbolNames, RegistersFallBackToTheRegisterTableOnlyForTheFirstRows) {
    load("1024 3 0 Nv_three\n8 3 0 Reg_three\n8 5 0 Reg_five\n8 12 0 Reg_twelve\n");
    RegisterWindowModel reg(named(), RegisterBank::Lower);
    reg.open();
    EXPECT_EQ(reg.row(2).name, QStringLiteral("Nv_three"));
    EXPECT_EQ(reg.row(11).name, QStringLiteral("Reg_twelve"));  // every row of the first page
    EXPECT_EQ(reg.trendItem(2)->name, QStringLiteral("Nv_three"));  // trended under its symbol
    reg.setValueText(3, QStringLiteral("55"));
    reg.setPosition(2);
    EXPECT_EQ(reg.row(3).name, QStringLiteral("Reg_five"));
    EXPECT_EQ(reg.row(10).name, QStringLiteral("reg_12"));  // relabelled: above 8, no fallback
    EXPECT_EQ(reg.row(3).value, QStringLiteral("55"));      // with symbols the values stay

    files.SymbolFileName.clear();
    reg.setPosition(1);
    EXPECT_EQ(reg.row(2).name, QStringLiteral("reg_3"));
    EXPECT_EQ(reg.row(3).value, QStringLiteral("0"));
}

TEST_F(SymbolNames, ServoAndDigitalRowsUseTheirTables) {
    load("2048 1 0 Spindle\n128 5 0 Door_closed\n128 5 1 Door_open\n131072 5 1 Lamp_lit\n");
    ServoModel servos(named());
    servos.openFirst();
    EXPECT_EQ(servos.row(0).name, QStringLiteral("Spindle"));
    EXPECT_EQ(servos.row(2).name, QStringLiteral("servo_3"));

    DigitalWindowModel in(named(), DigitalKind::Inputs);
    in.open();
    EXPECT_EQ(in.row(4).name, QStringLiteral("Door_closed"));
    tick(in);
    EXPECT_EQ(in.row(4).name, QStringLiteral("Door_open"));  // input off: its value-1 name
    EXPECT_EQ(in.row(4).value, QStringLiteral("Off"));

    DigitalWindowModel out(named(), DigitalKind::Outputs);
    out.open();
    EXPECT_EQ(out.row(4).name, QStringLiteral("OUT_5_OFF"));
    out.outputClicked(4);
    EXPECT_EQ(out.row(4).name, QStringLiteral("Lamp_lit"));
}
