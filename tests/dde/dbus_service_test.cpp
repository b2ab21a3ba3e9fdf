// The DDE topics on a private session bus, with the simulator behind the model: clients read
// and write items, run commands, watch changes, open links and vanish, and send rubbish.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusMetaType>
#include <QDBusPendingCall>
#include <QDBusVariant>
#include <QDir>
#include <QMap>
#include <QTest>
#include <algorithm>
#include <memory>

#include "dde/dbus_service.h"
#include "dde/dde_model.h"
#include "link/link_claim.h"
#include "tests/dde/private_bus.h"
#include "tests/dde/signal_recorder.h"
#include "tests/support/sim_link.h"

using namespace zel;

namespace {

const QString kMain = QStringLiteral("/org/zel/Monitor/Main");
const QString kDde = QStringLiteral("/org/zel/Monitor/DDEsetup");
const QString kMainInterface = QStringLiteral("org.zel.Monitor.Main");
const QString kDdeInterface = QStringLiteral("org.zel.Monitor.DdeSetup");
const QString kProperties = QStringLiteral("org.freedesktop.DBus.Properties");

qsizetype openDescriptors() { return QDir(QStringLiteral("/proc/self/fd")).count(); }

// The main window's controls as the service reaches them: which are there and enabled, and
// which were clicked.
struct RecordedControls : MainControls {
    QMap<QString, State> states;
    QStringList clicked;
    State controlState(const QString& control) const override {
        return states.value(control, State::Missing);
    }
    void click(const QString& control) override { clicked << control; }
};

}  // namespace

class BusService : public ::testing::Test {
protected:
    test::PrivateBus bus;
    test::SimLink link{ZELSIM_DEMO_SCENARIO};
    int hidden = 0;
    DdeModel model{link.state, link.lib, {{}, {}, [this] { ++hidden; }, {}}};
    RecordedControls controls;
    std::unique_ptr<DdeBusService> service;
    QDBusConnection client = bus.connect();

    void SetUp() override {
        ASSERT_TRUE(bus.running());
        link.state.dde = {.DdeBlock50 = 0, .DdeFlagAddress = 33, .DdeRegAddress = 100,
                          .UpdateInterval = 250};
        model.load();
        controls.states = {{QStringLiteral("RegisterButton"), MainControls::State::Ready},
                           {QStringLiteral("AoutButton"), MainControls::State::Ready},
                           {QStringLiteral("StartButton"), MainControls::State::Disabled}};
        service = std::make_unique<DdeBusService>(bus.connect(), model, &controls);
        ASSERT_EQ(service->name(), QStringLiteral("org.zel.Monitor"));
    }

    QDBusMessage call(const QString& path, const QString& interface, const QString& member,
                      const QVariantList& args = {}, QDBusConnection* from = nullptr) {
        QDBusMessage message =
            QDBusMessage::createMethodCall(QStringLiteral("org.zel.Monitor"), path, interface, member);
        message.setArguments(args);
        return (from ? *from : client).call(message, QDBus::BlockWithGui, 30'000);
    }
    QDBusMessage dde(const QString& member, const QVariantList& args = {}) {
        return call(kDde, kDdeInterface, member, args);
    }
    QVariant property(const QString& name) {
        const QDBusMessage reply = call(kDde, kProperties, QStringLiteral("Get"), {kDdeInterface, name});
        return reply.arguments().value(0).value<QDBusVariant>().variant();
    }
    void tick() {
        PollContext context(link.state, link.lib, [] {});
        model.refresh(context);
    }
};

TEST_F(BusService, ItemsAreReadByNameAndAsTypedProperties) {
    tick();
    const struct {
        const char* name;
        const char* text;
        QVariant typed;
    } cases[] = {
        {"RegRead", "42", 42},
        {"FlagValue8", "1", true},  // flag 40 is set in the scenario
        {"FlagValue1", "0", false},
        {"BlockAddress16", "16", 16},
        {"FlagAddress", "33", 33},
        {"Message", "No Controller Communication in progress",
         QStringLiteral("No Controller Communication in progress")},
    };
    for (const auto& c : cases) {
        const QDBusMessage reply = dde(QStringLiteral("Read"), {QString::fromLatin1(c.name)});
        EXPECT_EQ(reply.arguments().value(0).toString(), QLatin1String(c.text)) << c.name;
        EXPECT_EQ(property(QString::fromLatin1(c.name)), c.typed) << c.name;
    }
    const QDBusMessage all = call(kDde, kProperties, QStringLiteral("GetAll"), {kDdeInterface});
    const QVariantMap items = qdbus_cast<QVariantMap>(all.arguments().value(0));
    EXPECT_EQ(items.size(), 138);
    EXPECT_EQ(items.value(QStringLiteral("RegValue50")), QVariant(0));
}

TEST_F(BusService, WritesFollowTheRulesOfTheirBoxesAndReachTheController) {
    EXPECT_EQ(dde(QStringLiteral("Write"), {QStringLiteral("RegWrite"), QStringLiteral("-1234")}).type(),
              QDBusMessage::ReplyMessage);
    call(kDde, kProperties, QStringLiteral("Set"),
         {kDdeInterface, QStringLiteral("BlockAddress1"), QVariant::fromValue(QDBusVariant(101))});
    dde(QStringLiteral("Write"), {QStringLiteral("BlockWrite1"), QStringLiteral("65537")});
    dde(QStringLiteral("Execute"), {QStringLiteral("download")});
    call(kDde, kProperties, QStringLiteral("Set"),
         {kDdeInterface, QStringLiteral("Reg50Address"), QVariant::fromValue(QDBusVariant(99))});

    EXPECT_EQ(link.reg(100), -1234);
    EXPECT_EQ(link.reg(101), 65537);
    EXPECT_EQ(property(QStringLiteral("Reg50Address")), QVariant(20)) << "clamped to the last block";
    EXPECT_EQ(model.item(QStringLiteral("BlockWrite(1)")), QString());
    EXPECT_TRUE(link.state.flags.DdeActive) << "Enter in an address box restarts the exchange";

    // While a transfer holds the link, a write that would reach the controller answers why it
    // cannot, and the controller is left alone.
    {
        const LinkClaim transfer(link.state, LinkUse::Transfer);
        for (const QDBusMessage& refused :
             {dde(QStringLiteral("Write"), {QStringLiteral("RegWrite"), QStringLiteral("77")}),
              dde(QStringLiteral("Execute"), {QStringLiteral("DOWNLOAD")})}) {
            EXPECT_EQ(refused.errorName(), QStringLiteral("org.zel.Monitor.Error.Unavailable"));
            EXPECT_EQ(refused.errorMessage(),
                      QStringLiteral("A transfer is in progress; try again when it has finished."));
        }
        EXPECT_EQ(dde(QStringLiteral("Write"), {QStringLiteral("RegAddress"), QStringLiteral("102")})
                      .type(),
                  QDBusMessage::ReplyMessage)
            << "an address box does not reach the controller";
    }
    EXPECT_EQ(link.reg(100), -1234);
}

TEST_F(BusService, EachTickSendsOneSignalWithOnlyTheItemsThatChanged) {
    test::SignalRecorder recorder;
    ASSERT_TRUE(client.connect(QStringLiteral("org.zel.Monitor"), kDde, kDdeInterface,
                               QStringLiteral("Changed"), &recorder, SLOT(changed(QVariantMap))));
    tick();
    ASSERT_TRUE(QTest::qWaitFor([&] { return recorder.received.size() == 1; }, 30'000));
    link.lib.ZlPutRegister(link.handle(), 100, 7);
    tick();
    ASSERT_TRUE(QTest::qWaitFor([&] { return recorder.received.size() == 2; }, 30'000));
    dde(QStringLiteral("Read"), {QStringLiteral("RegRead")});
    QCoreApplication::processEvents();

    ASSERT_EQ(recorder.received.size(), 2);
    const QVariantMap& second = recorder.received[1];
    EXPECT_EQ(second.value(QStringLiteral("RegRead")), QVariant(7));
    for (const char* unchanged : {"FlagValue8", "FlagValue1", "BlockAddress1", "RegValue1"})
        EXPECT_FALSE(second.contains(QLatin1String(unchanged))) << unchanged;
}

// A main window command whose button is missing or disabled would click nothing: refused too.
TEST_F(BusService, CommandsAreTakenInAnyCaseAndUnknownOrUnavailableOnesChangeNothing) {
    const struct {
        const QString& path;
        const QString& interface;
        const char* command;
        const char* error;  // null: accepted
        const char* message;
    } cases[] = {
        {kMain, kMainInterface, "registers", nullptr, ""},
        {kMain, kMainInterface, "Analog Outs", nullptr, ""},
        {kMain, kMainInterface, "REGISTER", "org.zel.Monitor.Error.UnknownCommand",
         "Unknown command \"REGISTER\""},
        {kMain, kMainInterface, "start", "org.zel.Monitor.Error.Unavailable",
         "Cannot carry out \"start\": StartButton is disabled"},
        {kMain, kMainInterface, "Servos", "org.zel.Monitor.Error.Unavailable",
         "Cannot carry out \"Servos\": the main window has no ServoButton"},
        {kMain, kMainInterface, "nvram module", "org.zel.Monitor.Error.Unavailable",
         "Cannot carry out \"nvram module\": the main window has no NVRamButton"},
        {kMain, kMainInterface, "DdeSetup", "org.zel.Monitor.Error.Unavailable",
         "Cannot carry out \"DdeSetup\": the main window has no mnuDdeSetup"},
        {kMain, kMainInterface, " START", "org.zel.Monitor.Error.UnknownCommand",
         "Unknown command \" START\""},
        {kMain, kMainInterface, "", "org.zel.Monitor.Error.UnknownCommand", "Unknown command \"\""},
        {kDde, kDdeInterface, "start", nullptr, ""},
        {kDde, kDdeInterface, "Exit", nullptr, ""},
        {kDde, kDdeInterface, "stop", "org.zel.Monitor.Error.UnknownCommand",
         "Unknown command \"stop\""},
    };
    for (const auto& c : cases) {
        const QDBusMessage reply =
            call(c.path, c.interface, QStringLiteral("Execute"), {QString::fromLatin1(c.command)});
        EXPECT_EQ(reply.errorName(), c.error ? QLatin1String(c.error) : QLatin1String()) << c.command;
        EXPECT_EQ(reply.errorMessage(), QLatin1String(c.message)) << c.command;
    }
    EXPECT_TRUE(QTest::qWaitFor([&] { return controls.clicked.size() == 2; }, 30'000));
    EXPECT_EQ(controls.clicked, QStringList({QStringLiteral("RegisterButton"), QStringLiteral("AoutButton")}));
    EXPECT_TRUE(link.state.flags.DdeActive);
    EXPECT_EQ(hidden, 1);
}

// A link opened after Cancel DDE starts the exchange again, also while another client holds one.
TEST_F(BusService, TheExchangeRunsWhileAClientHoldsALinkAndStopsWhenTheLastLeaves) {
    QDBusConnection first = bus.connect();
    QDBusConnection second = bus.connect();
    call(kDde, kDdeInterface, QStringLiteral("OpenLink"), {}, &first);
    EXPECT_TRUE(link.state.flags.DdeActive);
    EXPECT_EQ(model.item(QStringLiteral("Message")), QStringLiteral("Controller Communication in progress"));
    for (QDBusConnection* client : {&second, &first}) {
        dde(QStringLiteral("Execute"), {QStringLiteral("START")});
        ASSERT_FALSE(link.state.flags.DdeActive) << "Cancel DDE";
        call(kDde, kDdeInterface, QStringLiteral("OpenLink"), {}, client);
        EXPECT_TRUE(link.state.flags.DdeActive);
        EXPECT_EQ(model.item(QStringLiteral("Command3d1")), QStringLiteral("Cancel DDE"));
    }
    call(kDde, kDdeInterface, QStringLiteral("CloseLink"), {}, &second);
    EXPECT_TRUE(link.state.flags.DdeActive);

    test::PrivateBus::leave(first);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !link.state.flags.DdeActive; }, 30'000));
    EXPECT_EQ(model.item(QStringLiteral("Message")), QStringLiteral("No Controller Communication in progress"));
    EXPECT_EQ(model.item(QStringLiteral("Command3d1")), QStringLiteral("Start DDE"));
}

TEST_F(BusService, ASecondMonitorTakesANameOfItsOwnAndWithoutABusSaysWhy) {
    DdeModel other(link.state, link.lib, {});
    DdeBusService second(bus.connect(), other, nullptr);
    EXPECT_EQ(second.name(), QStringLiteral("org.zel.Monitor2"));
    EXPECT_EQ(other.item(QStringLiteral("lblLink")),
              QStringLiteral("D-Bus link: org.zel.Monitor2 (org.zel.Monitor is another monitor's)"));

    DdeModel alone(link.state, link.lib, {});
    const QDBusConnection none = QDBusConnection::connectToBus(
        QStringLiteral("unix:path=") + QDir::temp().filePath(QStringLiteral("no-such-bus")),
        QStringLiteral("no-bus"));
    {
        DdeBusService without(none, alone, nullptr);
        EXPECT_EQ(without.name(), QString());
    }
    QDBusConnection::disconnectFromBus(QStringLiteral("no-bus"));
    EXPECT_TRUE(alone.item(QStringLiteral("lblLink")).startsWith(
        QStringLiteral("D-Bus link unavailable: no session bus (")))
        << alone.item(QStringLiteral("lblLink")).toStdString();
}

TEST_F(BusService, BadInputGetsAnErrorOrTheClampAndTheMonitorStaysWell) {
    const QString megabyte(1 << 20, u'7');
    const struct {
        const QString& interface;
        const char* member;
        QVariantList args;
        const char* error;  // null: accepted
    } cases[] = {
        {kDdeInterface, "Read", {42}, "org.freedesktop.DBus.Error.InvalidArgs"},
        {kDdeInterface, "Read", {QStringLiteral("RegValue51")}, "org.zel.Monitor.Error.UnknownItem"},
        {kDdeInterface, "Read", {megabyte}, "org.zel.Monitor.Error.UnknownItem"},
        {kDdeInterface, "Write", {QStringLiteral("RegRead"), QStringLiteral("1")},
         "org.zel.Monitor.Error.ReadOnly"},
        {kDdeInterface, "Write", {QStringLiteral("RegWrite"), megabyte},
         "org.zel.Monitor.Error.InvalidValue"},
        {kDdeInterface, "Write", {QStringLiteral("RegWrite"), QStringLiteral("twelve")},
         "org.zel.Monitor.Error.InvalidValue"},
        {kDdeInterface, "Execute", {megabyte}, "org.zel.Monitor.Error.UnknownCommand"},
        {kDdeInterface, "Poke", {}, "org.freedesktop.DBus.Error.UnknownMethod"},
        {kProperties, "Set",
         {kDdeInterface, QStringLiteral("FlagAddress"), QVariant::fromValue(QDBusVariant(megabyte))},
         "org.freedesktop.DBus.Error.InvalidArgs"},
        {kProperties, "Set",
         {kDdeInterface, QStringLiteral("RegAddress"), QVariant::fromValue(QDBusVariant(-5))},
         nullptr},
    };
    for (const auto& c : cases) {
        const QDBusMessage reply = call(kDde, c.interface, QLatin1String(c.member), c.args);
        EXPECT_EQ(reply.errorName(), c.error ? QLatin1String(c.error) : QLatin1String())
            << c.member << " " << reply.errorMessage().left(80).toStdString();
        EXPECT_LT(reply.errorMessage().size(), 200);
    }
    EXPECT_EQ(model.item(QStringLiteral("RegAddress")), QStringLiteral("0"));

    QList<QDBusPendingCall> burst;
    for (int i = 0; i < 1000; ++i) {
        QDBusMessage message = QDBusMessage::createMethodCall(
            QStringLiteral("org.zel.Monitor"), kDde, kDdeInterface, QStringLiteral("Write"));
        message << QStringLiteral("BlockAddress%1").arg(i % 16 + 1) << QString::number(i);
        burst << client.asyncCall(message, 60'000);
    }
    // The service answers on this thread, so the wait has to let events run.
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return std::all_of(burst.cbegin(), burst.cend(), [](const auto& p) { return p.isFinished(); }); },
        60'000));
    EXPECT_EQ(std::count_if(burst.cbegin(), burst.cend(), [](const auto& p) { return p.isError(); }), 0);
    EXPECT_EQ(model.item(QStringLiteral("BlockAddress(16)")), QStringLiteral("991"));

    {  // one client first, so whatever Qt makes once per process is made before counting
        QDBusConnection warm = bus.connect();
        call(kDde, kDdeInterface, QStringLiteral("OpenLink"), {}, &warm);
        test::PrivateBus::leave(warm);
    }
    const qsizetype descriptors = openDescriptors();
    for (int i = 0; i < 100; ++i) {
        QDBusConnection passing = bus.connect();
        call(kDde, kDdeInterface, QStringLiteral("OpenLink"), {}, &passing);
        test::PrivateBus::leave(passing);
    }
    EXPECT_TRUE(QTest::qWaitFor([&] { return service->linkCount() == 0; }, 30'000));
    EXPECT_FALSE(link.state.flags.DdeActive);
    EXPECT_TRUE(QTest::qWaitFor([&] { return openDescriptors() <= descriptors; }, 30'000))
        << openDescriptors() << " descriptors, " << descriptors << " before";
}
